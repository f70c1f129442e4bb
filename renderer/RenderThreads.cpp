// A small pool of worker threads shared by every render: they wait on a
// condition variable for a job, take parts of it in turn, and are joined when
// the host's call ends.
#include "renderer/RenderThreads.h"

#include "VXLib/VXUTIL/VXRenderEnvironment.h"

#include "VXLib/VXUTIL/VXFloatingPoint.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace morvessan {

namespace {

std::atomic<int> g_limit{0};

int defaultThreadCount() {
    if (const std::optional<int> threads = vxRenderEnvironment().threads) {
        return *threads;
    }
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, unsigned(kMaxRenderThreads)));
}

using Body = std::function<void(std::int32_t, std::int32_t)>;

// Set while this thread runs a part of a job: a job started from within a part
// (a tile's rows inside a group of tiles) runs on this thread alone, without
// asking the pool, whose lock this thread may hold already.
thread_local bool t_in_part = false;
thread_local int t_worker = 0; // a helper's index in the pool, plus one

struct InPart {
    InPart() { t_in_part = true; }
    ~InPart() { t_in_part = false; }
    InPart(const InPart&) = delete;
    InPart& operator=(const InPart&) = delete;
};

// A tile's passes are a fraction of a millisecond apart, less than a sleeping
// thread takes to wake, so a thread looks for the next step this long before it
// sleeps; briefly, and yielding as it looks, so that on a shared machine the
// looking costs little of a core someone else needs.
constexpr std::chrono::microseconds kSpinTime{50};

template <typename Ready>
bool spinUntil(const Ready& ready) {
    const auto end = std::chrono::steady_clock::now() + kSpinTime;
    for (;;) {
        for (int i = 0; i < 64; ++i) {
            if (ready()) {
                return true;
            }
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::yield();
    }
}

class Pool {
public:
    // Runs the job on the caller and up to `helpers` pool threads; false when the
    // pool is in use by another call.
    bool run(std::int32_t count, std::int32_t part, int helpers, const Body& body) {
        std::unique_lock<std::mutex> own(m_busy, std::try_to_lock);
        if (!own.owns_lock()) {
            return false;
        }
        grow(helpers);
        helpers = std::min<int>(helpers, static_cast<int>(m_threads.size()));
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_body = &body;
            m_count = count;
            m_part = part;
            m_share = 2 * (helpers + 1);
            m_next.store(0, std::memory_order_relaxed);
            m_wanted = helpers;
            // Released: a helper still on its way from the last job may join this
            // one by this count alone, without taking the lock after these writes.
            m_unjoined.store(helpers, std::memory_order_release);
            m_active.store(helpers, std::memory_order_relaxed);
            m_error = nullptr;
            m_generation.fetch_add(1, std::memory_order_release);
        }
        m_wake.notify_all();
        work();
        // Helpers that have not started yet are not waited for: on a busy machine one
        // may wait long for a core, and there is nothing left for it to do.
        if (const int late = m_unjoined.exchange(0, std::memory_order_acq_rel); late > 0) {
            m_active.fetch_sub(late, std::memory_order_acq_rel);
        }
        spinUntil([this] { return m_active.load(std::memory_order_acquire) == 0; });
        std::unique_lock<std::mutex> lock(m_mutex);
        m_finished.wait(lock, [this] { return m_active.load(std::memory_order_relaxed) == 0; });
        m_body = nullptr;
        if (m_error) {
            std::rethrow_exception(std::exchange(m_error, nullptr));
        }
        return true;
    }

    void stop() {
        const std::lock_guard<std::mutex> own(m_busy);
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        for (std::thread& thread : m_threads) {
            thread.join();
        }
        m_threads.clear();
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = false;
    }

    int size() {
        const std::lock_guard<std::mutex> own(m_busy);
        return static_cast<int>(m_threads.size());
    }

private:
    void grow(int helpers) {
        while (static_cast<int>(m_threads.size()) < helpers) {
            const int index = static_cast<int>(m_threads.size());
            try {
                // A new thread waits for the next job, not one posted before it existed:
                // started with 0 it would take the last job's leftovers as a job of its own.
                m_threads.emplace_back(
                    [this, index, seen = m_generation.load(std::memory_order_relaxed)] { serve(index, seen); });
            } catch (const std::system_error&) {
                return; // no more threads to be had: the others share the work
            }
        }
    }

    // Parts handed out in turn, so threads stay busy when rows differ in cost.
    void work() {
        const InPart inPart;
        try {
            for (;;) {
                std::int32_t begin = m_next.load(std::memory_order_relaxed);
                std::int32_t end = 0;
                do {
                    if (begin >= m_count) {
                        return;
                    }
                    // Parts shrink toward the end of the job, so that the threads
                    // finish close together and none waits long for the last part.
                    end = begin + std::clamp<std::int32_t>((m_count - begin) / m_share, 1, m_part);
                } while (!m_next.compare_exchange_weak(begin, end, std::memory_order_relaxed));
                (*m_body)(begin, end);
            }
        } catch (...) {
            m_next.store(m_count, std::memory_order_relaxed); // the others stop at their next part
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_error) {
                m_error = std::current_exception();
            }
        }
    }

    // Takes one of the job's places for helpers; false when the caller has closed them.
    bool join() {
        int places = m_unjoined.load(std::memory_order_acquire);
        while (places > 0 && !m_unjoined.compare_exchange_weak(places, places - 1, std::memory_order_acq_rel)) {
        }
        return places > 0;
    }

    void serve(int index, std::uint64_t seen) {
        t_worker = index + 1;
        // The environment the host called with is not inherited everywhere: a thread
        // of ours computes in ours.
        vxUseOwnFloatingPoint();
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            lock.unlock();
            spinUntil([&] { return m_generation.load(std::memory_order_acquire) != seen; });
            lock.lock();
            m_wake.wait(lock, [&] { return m_stopping || m_generation.load(std::memory_order_relaxed) != seen; });
            if (m_stopping) {
                return;
            }
            seen = m_generation.load(std::memory_order_relaxed);
            if (index >= m_wanted) {
                continue; // this job asked for fewer threads
            }
            lock.unlock();
            if (!join()) {
                lock.lock();
                continue; // the caller finished the job without this thread
            }
            work();
            lock.lock();
            if (m_active.fetch_sub(1, std::memory_order_acq_rel) == 1) {
                m_finished.notify_one();
            }
        }
    }

    std::mutex m_busy; // held by the one call the pool serves
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_finished;
    std::vector<std::thread> m_threads;
    const Body* m_body = nullptr;
    std::int32_t m_count = 0;
    std::int32_t m_part = 1;  // the largest part
    std::int32_t m_share = 2; // a part is at most the rest over this
    std::atomic<std::int32_t> m_next{0};
    int m_wanted = 0;
    std::atomic<int> m_active{0};               // helpers that joined (or may still join) and are not done
    std::atomic<int> m_unjoined{0};             // places for helpers not yet taken
    std::atomic<std::uint64_t> m_generation{0}; // written under m_mutex, also read without it while spinning
    bool m_stopping = false;
    std::exception_ptr m_error;
};

// Never destroyed: when another thread ends the process in the middle of a
// render, Windows kills the render threads (one may hold the pool's locks) and
// then runs the module's destructors; a destructor that waited for those locks
// would keep the process from ever exiting. Sessions join the threads at the
// end of every host call, so nothing is left running at unload.
Pool& pool() {
    alignas(Pool) static unsigned char storage[sizeof(Pool)];
    static Pool* const instance = ::new (storage) Pool;
    return *instance;
}

std::mutex g_sessionMutex;
int g_sessions = 0;

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

void forEachPart(std::int32_t count, const Body& body) {
    if (count <= 0) {
        return;
    }
    const int threads = std::min<std::int32_t>(renderThreadCount(), count);
    if (threads <= 1 || t_in_part) {
        body(0, count);
        return;
    }
    const std::int32_t part = std::max<std::int32_t>(1, count / (threads * 4));
    if (!pool().run(count, part, threads - 1, body)) {
        body(0, count);
    }
}

int renderWorkerIndex() { return t_worker; }

RenderThreadSession::RenderThreadSession() {
    const std::lock_guard<std::mutex> lock(g_sessionMutex);
    ++g_sessions;
}

RenderThreadSession::~RenderThreadSession() {
    const std::lock_guard<std::mutex> lock(g_sessionMutex);
    if (--g_sessions == 0) {
        pool().stop();
    }
}

int renderPoolThreads() { return pool().size(); }

} // namespace morvessan
