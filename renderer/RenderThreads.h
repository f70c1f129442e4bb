// The threads a render spreads its rows over: how many may run, the loop that
// hands out parts of a range to them, and how long the pool of them lives.
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
// The helpers are a pool of waiting threads, started at the first call that
// wants them; after a job each looks for the next one for a moment before it
// sleeps, since a tile's passes follow faster than a thread wakes, offering its
// core to other programs meanwhile. The caller does not wait for helpers that have
// not started by the time it has done the parts itself (on a busy machine they
// may get no core for a while), so more threads never make a job slower. A call made
// while another is running (from a body, or from a second thread) runs its
// parts on its own thread. An exception from a body is passed on to the
// caller once every part has finished.
void forEachPart(std::int32_t count, const std::function<void(std::int32_t, std::int32_t)>& body);

// Which thread runs the current part: 0 for the calling thread (and outside a
// job), 1 and up for the pool's helpers. Scratch memory kept per thread rather
// than per part stays in that thread's core's cache from one job to the next.
int renderWorkerIndex();

// While one of these lives, the pool's threads wait for work between calls;
// when the outermost one ends they are joined, so none outlives a host's call
// into the module (a module's own static destructors may not join threads).
class RenderThreadSession {
public:
    RenderThreadSession();
    ~RenderThreadSession();
    RenderThreadSession(const RenderThreadSession&) = delete;
    RenderThreadSession& operator=(const RenderThreadSession&) = delete;
};

// The threads the pool holds now (for tests).
int renderPoolThreads();

} // namespace morvessan
