// Rows carried from a render to their encoder on a thread of its own, so that the
// encoding runs beside the render: a bounded ring of row copies, taken in order.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace morvessan {

class HostRowPipe {
public:
    // `take` gets every row put, in order, on the pipe's thread (on the caller's when
    // no thread can be started); once it answers false the pipe takes no more.
    HostRowPipe(std::size_t rowBytes, std::function<bool(const std::uint8_t* row)> take);
    // Stops the thread, leaving rows not yet taken.
    ~HostRowPipe();
    HostRowPipe(const HostRowPipe&) = delete;
    HostRowPipe& operator=(const HostRowPipe&) = delete;

    // Queues a copy of `row`, waiting while the ring is full; false once a take failed.
    bool put(const std::uint8_t* row);
    // Waits until every row put has been taken; false when a take failed.
    bool close();

private:
    void serve();
    std::size_t half() const { return std::max<std::size_t>(1, m_slots / 2); }
    // Enough rows wait to wake the thread: a band's worth (never more than a full
    // ring holds), or any once the last row is in.
    bool worthWaking() const { return m_count >= m_wake_rows || (m_closing && m_count > 0); }

    std::size_t m_row_bytes;
    std::function<bool(const std::uint8_t*)> m_take;
    std::unique_ptr<std::uint8_t[]> m_ring;
    std::size_t m_slots = 0;
    std::size_t m_first = 0; // the oldest row not yet taken
    std::size_t m_count = 0; // rows waiting
    std::size_t m_wake_rows = 1;
    bool m_busy = false;    // the thread is taking rows
    bool m_idle = false;    // the thread waits for rows
    bool m_closing = false; // no more rows come
    bool m_failed = false;
    bool m_stopping = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread;
};

} // namespace morvessan
