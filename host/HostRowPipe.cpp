// The row pipe: the render's thread copies each finished row into the ring, the
// pipe's thread hands them to the encoder, each waiting for the other only at the ends.
#include "host/HostRowPipe.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace morvessan {

namespace {

// Enough rows that neither side waits on the other's bursts (a tile's band of 128
// rows arrives at once), in bounded memory however wide the rows.
constexpr std::size_t kRingBytes = std::size_t(8) << 20;
constexpr std::size_t kMostSlots = 512;

} // namespace

HostRowPipe::HostRowPipe(std::size_t rowBytes, std::function<bool(const std::uint8_t* row)> take)
    : m_row_bytes(std::max<std::size_t>(rowBytes, 1)), m_take(std::move(take)) {
    m_slots = std::clamp<std::size_t>(kRingBytes / m_row_bytes, 2, kMostSlots);
    m_ring.resize(m_slots * m_row_bytes);
    try {
        m_thread = std::thread([this] { serve(); });
    } catch (const std::system_error&) {
        m_ring = {}; // no thread to be had: put() hands each row on itself
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
        m_changed.wait(lock, [this] { return m_stopping || m_count > 0; });
        if (m_stopping || m_failed) {
            return;
        }
        const std::uint8_t* row = m_ring.data() + m_first * m_row_bytes;
        m_busy = true;
        lock.unlock();
        const bool taken = m_take(row);
        lock.lock();
        m_busy = false;
        m_failed = !taken;
        m_first = (m_first + 1) % m_slots;
        --m_count;
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
    std::memcpy(m_ring.data() + (m_first + m_count) % m_slots * m_row_bytes, row, m_row_bytes);
    ++m_count;
    m_changed.notify_all();
    return true;
}

bool HostRowPipe::close() {
    if (!m_thread.joinable()) {
        return !m_failed;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_failed || (m_count == 0 && !m_busy); });
    return !m_failed;
}

} // namespace morvessan
