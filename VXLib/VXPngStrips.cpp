// Strips of PNG rows filtered and deflated on worker threads, written in order as
// IDAT chunks, the zlib stream's checksum combined strip by strip.
#include "VXLib/VXPngStrips.h"

#include "VXLib/VXDeflateStrip.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <system_error>

namespace morvessan {

namespace {

// A strip holds about this many bytes of rows: large enough that the restart of
// the compressor's window at each strip costs little, small enough for bounded memory.
constexpr std::size_t kStripBytes = std::size_t(1) << 20;
// Measured on textures at 4096 x 4096: Up gave the smallest files at every level
// (Paeth, Sub and libpng's choice row by row 1 % to 50 % larger) but with grain,
// where Sub saved 3 % to 6 %; and it costs the least.
constexpr std::uint8_t kUp = 2;

// `row` less `above`, byte by byte, sixteen at a time.
void upFilter(const std::uint8_t* row, const std::uint8_t* above, std::size_t n, std::uint8_t* out) {
    typedef std::uint8_t Lanes __attribute__((vector_size(16)));
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        Lanes a, b;
        std::memcpy(&a, row + i, 16);
        std::memcpy(&b, above + i, 16);
        const Lanes d = a - b;
        std::memcpy(out + i, &d, 16);
    }
    for (; i < n; ++i)
        out[i] = std::uint8_t(row[i] - above[i]);
}

void putBE32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

} // namespace

struct VXPngStripEncoder::Strip {
    std::vector<std::uint8_t> prior; // the row above the first
    std::vector<std::uint8_t> rows;
    std::int32_t count = 0;
    bool last = false;
    std::vector<std::uint8_t> data; // the filtered rows, each after its filter's byte
    std::vector<std::uint8_t> out;
    std::uint32_t adler = 1;
    std::size_t length = 0; // filtered bytes
    bool done = false;
    bool ok = false;

    void compress(std::size_t rowBytes, bool filtered, VXPngCompression compression) {
        data.resize((rowBytes + 1) * std::size_t(count));
        for (std::int32_t r = 0; r < count; ++r) {
            const std::uint8_t* row = rows.data() + std::size_t(r) * rowBytes;
            const std::uint8_t* above = r == 0 ? prior.data() : row - rowBytes;
            std::uint8_t* to = data.data() + std::size_t(r) * (rowBytes + 1);
            if (filtered) {
                to[0] = kUp;
                upFilter(row, above, rowBytes, to + 1);
            } else {
                to[0] = 0;
                std::memcpy(to + 1, row, rowBytes);
            }
        }
        length = data.size();
        // libdeflate's checksums are zlib's, several times faster.
        adler = libdeflate_adler32(1, data.data(), data.size());
        ok = vxDeflateStrip(data.data(), data.size(), last, compression, out);
    }
};

std::vector<std::uint8_t> VXPngStripEncoder::spare() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_spare.empty()) {
        return {};
    }
    std::vector<std::uint8_t> buffer = std::move(m_spare.back());
    m_spare.pop_back();
    buffer.clear();
    return buffer;
}

void VXPngStripEncoder::keep(std::vector<std::uint8_t>& buffer) {
    std::vector<std::uint8_t> kept = std::move(buffer);
    buffer = {};
    const std::lock_guard<std::mutex> lock(m_mutex);
    // Enough for the strips in flight, each with its rows, filtered rows and output.
    if (m_spare.size() < 3 * (m_most_in_flight + 1)) {
        m_spare.push_back(std::move(kept));
    }
}

void VXPngStripEncoder::compress(Strip& strip) {
    strip.data = spare();
    strip.out = spare();
    strip.compress(m_row_bytes, m_filtered, m_compression);
    keep(strip.rows);
    keep(strip.data);
}

VXPngStripEncoder::VXPngStripEncoder(std::size_t rowBytes, bool filtered, std::int32_t rows, std::int32_t threads,
                                     VXPngCompression compression, std::function<bool(std::string_view)> write)
    : m_row_bytes(rowBytes), m_filtered(filtered), m_compression(compression), m_rows(rows),
      m_strip_rows(std::int32_t(std::clamp<std::size_t>(kStripBytes / std::max<std::size_t>(rowBytes, 1), 1,
                                                        std::size_t(std::max(rows, 1))))),
      m_write(std::move(write)), m_last_row(rowBytes, 0) {
    const std::int32_t helpers = std::clamp(threads, 1, 64);
    for (std::int32_t i = 0; helpers > 1 && i < helpers; ++i) {
        try {
            m_threads.emplace_back([this] { serve(); });
        } catch (const std::system_error&) {
            break; // no more threads to be had: those there share the strips, or the caller does
        }
    }
    m_most_in_flight = std::max<std::size_t>(1, m_threads.size() * 2);
}

VXPngStripEncoder::~VXPngStripEncoder() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_work.notify_all();
    for (std::thread& thread : m_threads) {
        thread.join();
    }
}

void VXPngStripEncoder::serve() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_work.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty()) {
            return; // stopping, with nothing left
        }
        Strip* strip = m_queue.front();
        m_queue.pop_front();
        lock.unlock();
        try {
            compress(*strip);
        } catch (...) {
            strip->ok = false;
        }
        lock.lock();
        strip->done = true;
        m_done.notify_all();
    }
}

bool VXPngStripEncoder::addRow(const std::uint8_t* row) {
    if (m_failed || m_rows_added >= m_rows) {
        return false;
    }
    if (!m_filling) {
        m_filling = std::make_unique<Strip>();
        m_filling->prior = m_last_row;
        // Buffers of strips already written: fresh megabytes would each be faulted in page by page.
        m_filling->rows = spare();
        m_filling->rows.reserve(m_row_bytes * std::size_t(m_strip_rows));
    }
    m_filling->rows.insert(m_filling->rows.end(), row, row + m_row_bytes);
    ++m_filling->count;
    ++m_rows_added;
    if (m_filling->count == m_strip_rows || m_rows_added == m_rows) {
        std::copy(row, row + m_row_bytes, m_last_row.begin());
        m_filling->last = m_rows_added == m_rows;
        submit();
    }
    return !m_failed;
}

void VXPngStripEncoder::submit() {
    Strip* strip = m_filling.get();
    if (m_threads.empty()) {
        compress(*strip);
        strip->done = true;
        m_in_order.push_back(std::move(m_filling));
    } else {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_in_order.push_back(std::move(m_filling));
        m_queue.push_back(strip);
    }
    m_work.notify_one();
    // Finished strips are written at once; the oldest is waited for when too many wait.
    for (;;) {
        bool ready = false;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (m_in_order.empty()) {
                return;
            }
            if (m_in_order.size() > m_most_in_flight) {
                m_done.wait(lock, [this] { return m_in_order.front()->done; });
            }
            ready = m_in_order.front()->done;
        }
        if (!ready || !emitFront()) {
            return;
        }
    }
}

// Writes the oldest strip as one IDAT chunk (the zlib header before the first, the
// whole stream's Adler-32 after the last).
bool VXPngStripEncoder::emitFront() {
    std::unique_ptr<Strip> strip = std::move(m_in_order.front());
    m_in_order.pop_front();
    if (!strip->ok || m_failed) {
        m_failed = true;
        return false;
    }
    m_adler = std::uint32_t(adler32_combine(m_adler, strip->adler, z_off_t(strip->length)));
    // Length, type and the zlib header before the first strip's data; the stream's
    // Adler-32 after the last's, then the chunk's CRC of all but the length.
    std::uint8_t head[10];
    std::size_t headSize = 8;
    std::memcpy(head + 4, "IDAT", 4);
    if (m_first) {
        head[8] = 0x78; // deflate, 32K window
        head[9] = vxZlibLevelByte(m_compression);
        headSize = 10;
        m_first = false;
    }
    std::uint8_t tail[8];
    std::size_t tailSize = 0;
    if (strip->last) {
        putBE32(tail, m_adler);
        tailSize = 4;
    }
    putBE32(head, std::uint32_t(headSize - 8 + strip->out.size() + tailSize));
    std::uint32_t crc = libdeflate_crc32(0, head + 4, headSize - 4);
    crc = libdeflate_crc32(crc, strip->out.data(), strip->out.size());
    crc = libdeflate_crc32(crc, tail, tailSize);
    putBE32(tail + tailSize, crc);
    tailSize += 4;
    const auto text = [](const std::uint8_t* bytes, std::size_t size) {
        return std::string_view(reinterpret_cast<const char*>(bytes), size);
    };
    if (!m_write(text(head, headSize)) || !m_write(text(strip->out.data(), strip->out.size())) ||
        !m_write(text(tail, tailSize))) {
        m_failed = true;
    }
    keep(strip->out);
    return !m_failed;
}

bool VXPngStripEncoder::finish() {
    if (m_failed || m_rows_added != m_rows) {
        return false;
    }
    while (!m_in_order.empty() && !m_failed) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_done.wait(lock, [this] { return m_in_order.front()->done; });
        }
        emitFront();
    }
    return !m_failed;
}

} // namespace morvessan
