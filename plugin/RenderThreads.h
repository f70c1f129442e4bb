// The threads a render spreads its rows over: how many may run, and the loop
// that hands out parts of a range to them and waits until every part is done.
#pragma once

#include <cstdint>
#include <functional>

namespace morvessan {

// The number of threads a render uses: the limit set below, else the value of
// the environment variable MORVESSAN_THREADS (1 and up), else every core.
int renderThreadCount();

// Limits renders to `threads` threads (0: back to the default above).
void setRenderThreadLimit(int threads);

// Calls body(begin, end) for consecutive parts of [0, count) on up to
// renderThreadCount() threads, the calling thread among them, and returns when
// all have finished. Each index lands in exactly one part, so a body whose
// parts touch separate data gives the same result with any number of threads.
void forEachPart(std::int32_t count, const std::function<void(std::int32_t, std::int32_t)>& body);

} // namespace morvessan
