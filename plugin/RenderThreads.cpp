// Worker threads of one render call: started for the call and joined before it
// returns, so none outlives the call (or the module, when a host unloads it).
#include "plugin/RenderThreads.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <system_error>
#include <thread>
#include <vector>

namespace morvessan {

namespace {

std::atomic<int> g_limit{0};

int defaultThreadCount() {
    if (const char* text = std::getenv("MORVESSAN_THREADS")) {
        char* end = nullptr;
        const long value = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && value >= 1) {
            return static_cast<int>(std::min(value, 64L));
        }
    }
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 64u));
}

} // namespace

int renderThreadCount() {
    const int limit = g_limit.load(std::memory_order_relaxed);
    if (limit > 0) {
        return limit;
    }
    static const int fallback = defaultThreadCount();
    return fallback;
}

void setRenderThreadLimit(int threads) { g_limit.store(std::clamp(threads, 0, 64), std::memory_order_relaxed); }

void forEachPart(std::int32_t count, const std::function<void(std::int32_t, std::int32_t)>& body) {
    if (count <= 0) {
        return;
    }
    const int threads = std::min<std::int32_t>(renderThreadCount(), count);
    if (threads <= 1) {
        body(0, count);
        return;
    }
    // Small parts handed out in turn keep the threads busy when rows differ in cost.
    const std::int32_t part = std::max<std::int32_t>(1, count / (threads * 8));
    std::atomic<std::int32_t> next{0};
    const auto work = [&] {
        for (;;) {
            const std::int32_t begin = next.fetch_add(part, std::memory_order_relaxed);
            if (begin >= count) {
                return;
            }
            body(begin, std::min(count, begin + part));
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    for (int t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no more threads to be had: the others share the work
        }
    }
    work();
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

} // namespace morvessan
