// The two environment variables that tune the renderer, read through the platform
// layer and checked in one place: the renderer takes the values, a program warns about the rest.
#pragma once

#include <optional>
#include <string>

namespace morvessan {

inline constexpr const char* kThreadsVariable = "MORVESSAN_THREADS";
inline constexpr const char* kSimdVariable = "MORVESSAN_SIMD";
inline constexpr int kMaxRenderThreads = 64;

struct VXRenderEnvironment {
    std::optional<int> threads;      // MORVESSAN_THREADS when it is a whole number from 1 (at most 64)
    std::optional<std::string> simd; // MORVESSAN_SIMD when it is scalar, baseline, avx2 or avx512
    // What is wrong with a value that is set, and what is done instead; "" when nothing is.
    std::string threadsProblem;
    std::string simdProblem;
};

// The variables as the process has them now.
VXRenderEnvironment vxRenderEnvironment();

} // namespace morvessan
