// The row pipe: the render's thread copies each finished row into the ring, the
// pipe's thread hands them to the encoder, each waiting for the other only at the ends.
#include "host/HostRowPipe.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace morvessan {

namespace {

// Two bands of tiles (a band of 128 rows arrives at once), so that neither side
// waits on the other's bursts, in bounded memory however wide the rows.
constexpr std::size_t kRingBytes = std::size_t(8) << 20;
constexpr std::size_t kMostSlots = 256;
// A sleeping encoder is woken for a band of rows, not for each: a wake is a system
// call and a switch of threads, dearer than the encoding of a row or two.
constexpr std::size_t kWakeRows = 128;

} // namespace

HostRowPipe::HostRowPipe(std::size_t rowBytes, std::function<bool(const std::uint8_t* row)> take)
    : m_row_bytes(std::max<std::size_t>(rowBytes, 1)), m_take(std::move(take)) {
    m_slots = std::clamp<std::size_t>(kRingBytes / m_row_bytes, 2, kMostSlots);
    m_wake_rows = std::min(kWakeRows, half());
    // Left unfilled: every slot is written before it is read.
    m_ring = std::make_unique_for_overwrite<std::uint8_t[]>(m_slots * m_row_bytes);
    try {
        m_thread = std::thread([this] { serve(); });
    } catch (const std::system_error&) {
        m_ring.reset(); // no thread to be had: put() hands each row on itself
    }
}

HostRowPipe::~HostRowPipe() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void HostRowPipe::serve() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_idle = true;
        m_changed.wait(lock, [this] { return m_stopping || worthWaking(); });
        m_idle = false;
        if (m_stopping || m_failed) {
            return;
        }
        // The rows waiting are taken in one go, up to half the ring, whose slots stay
        // the thread's until handed back together: the other half takes new rows meanwhile.
        const std::size_t first = m_first;
        const std::size_t count = std::min(m_count, half());
        m_busy = true;
        lock.unlock();
        bool taken = true;
        for (std::size_t k = 0; k < count && taken; ++k) {
            taken = m_take(m_ring.get() + (first + k) % m_slots * m_row_bytes);
        }
        lock.lock();
        m_busy = false;
        m_failed = !taken;
        m_first = (first + count) % m_slots;
        m_count -= count;
        m_changed.notify_all();
    }
}

bool HostRowPipe::put(const std::uint8_t* row) {
    if (!m_thread.joinable()) {
        if (!m_failed) {
            m_failed = !m_take(row);
        }
        return !m_failed;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_failed || m_count < m_slots; });
    if (m_failed) {
        return false;
    }
    // The slot past the waiting rows is the thread's to read only once counted.
    std::memcpy(m_ring.get() + (m_first + m_count) % m_slots * m_row_bytes, row, m_row_bytes);
    ++m_count;
    if (m_idle && worthWaking()) {
        m_changed.notify_all();
    }
    return true;
}

bool HostRowPipe::close() {
    if (!m_thread.joinable()) {
        return !m_failed;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    m_closing = true; // the last rows go however few
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return m_failed || (m_count == 0 && !m_busy); });
    return !m_failed;
}

} // namespace morvessan
