// The lane path: what the processor supports, and the one chosen.
#include "texture/LanePath.h"

#include "VXLib/VXUTIL/VXRenderEnvironment.h"
#include "texture/Lanes.h"

#include <atomic>
#include <cstring>
#include <optional>
#include <string>

namespace morvessan {

namespace {

bool supported(LanePath path) {
    switch (path) {
    case LanePath::Scalar: return true;
#if defined(MORVESSAN_LANES)
    case LanePath::Baseline: return true;
    case LanePath::Avx2: return __builtin_cpu_supports("avx2");
    case LanePath::Avx512:
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
               __builtin_cpu_supports("avx512vl");
#endif
    default: return false;
    }
}

LanePath narrowest(LanePath wanted) {
    int p = static_cast<int>(wanted);
    while (p > 0 && !supported(static_cast<LanePath>(p))) {
        --p;
    }
    return static_cast<LanePath>(p);
}

LanePath startingPath() {
    LanePath wanted = LanePath::Avx512;
    if (const std::optional<std::string> simd = vxRenderEnvironment().simd) {
        const char* text = simd->c_str();
        const struct {
            const char* name;
            LanePath path;
        } names[] = {{"scalar", LanePath::Scalar},
                     {"baseline", LanePath::Baseline},
                     {"avx2", LanePath::Avx2},
                     {"avx512", LanePath::Avx512}};
        for (const auto& entry : names) {
            if (std::strcmp(text, entry.name) == 0) {
                wanted = entry.path;
            }
        }
    }
    return narrowest(wanted);
}

std::atomic<int>& currentPath() {
    static std::atomic<int> path{static_cast<int>(startingPath())};
    return path;
}

} // namespace

LanePath lanePath() { return static_cast<LanePath>(currentPath().load(std::memory_order_relaxed)); }

LanePath setLanePath(LanePath path) {
    const LanePath taken = narrowest(path);
    currentPath().store(static_cast<int>(taken), std::memory_order_relaxed);
    return taken;
}

bool lanePathAvailable(LanePath path) { return supported(path); }

} // namespace morvessan
