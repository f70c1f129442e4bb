// MORVESSAN_THREADS and MORVESSAN_SIMD from the process's environment.
#include "VXLib/VXUTIL/VXRenderEnvironment.h"

#include "VXLib/VXUTIL/VXPlatform.h"

#include <algorithm>

namespace morvessan {

VXRenderEnvironment vxRenderEnvironment() {
    VXRenderEnvironment environment;
    if (const std::string threads = vxProcessEnvironment(kThreadsVariable); !threads.empty()) {
        const bool digits = std::all_of(threads.begin(), threads.end(), [](char c) { return c >= '0' && c <= '9'; });
        // Any longer run of digits is more than 64 too.
        const long value = !digits ? 0 : threads.size() > 9 ? kMaxRenderThreads + 1 : std::stol(threads);
        if (value < 1) {
            environment.threadsProblem = std::string(kThreadsVariable) + " '" + threads +
                                         "' is not a whole number from 1 to 64; every core is used";
        } else {
            if (value > kMaxRenderThreads) {
                environment.threadsProblem =
                    std::string(kThreadsVariable) + " " + threads + " is more than 64; 64 threads are used";
            }
            environment.threads = static_cast<int>(std::min<long>(value, kMaxRenderThreads));
        }
    }
    if (const std::string simd = vxProcessEnvironment(kSimdVariable); !simd.empty()) {
        if (simd == "scalar" || simd == "baseline" || simd == "avx2" || simd == "avx512") {
            environment.simd = simd;
        } else {
            environment.simdProblem =
                std::string(kSimdVariable) + " '" + simd +
                "' is not scalar, baseline, avx2 or avx512; the widest instruction set of this processor is used";
        }
    }
    return environment;
}

} // namespace morvessan
