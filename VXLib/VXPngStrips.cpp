// Strips of PNG rows filtered and deflated on worker threads, written in order as
// IDAT chunks, the zlib stream's checksum combined strip by strip.
#include "VXLib/VXPngStrips.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace morvessan {

namespace {

// A strip holds about this many bytes of rows: large enough that the restart of
// the compressor's window at each strip costs little, small enough for bounded memory.
constexpr std::size_t kStripBytes = std::size_t(1) << 20;
// Measured on textures at 4096 x 4096: level 2 over Paeth-filtered rows encodes in
// about a third of the time of libpng's defaults (level 6, each row's filter chosen
// by trial), for files about half as large again; choosing each row's filter by
// trial cost a quarter more time and saved about 1 %.
constexpr int kLevel = 2;
constexpr std::uint8_t kPaeth = 4;

void putBE32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The bytes of `row` (above it `prior`) through filter `type` (none or Paeth) into `out`.
void filterRow(int type, const std::uint8_t* row, const std::uint8_t* prior, std::size_t n, std::size_t bpp,
               std::uint8_t* out) {
    if (type == 0) {
        std::memcpy(out, row, n);
        return;
    }
    const std::size_t lead = std::min(bpp, n);
    for (std::size_t i = 0; i < lead; ++i)
        out[i] = std::uint8_t(row[i] - prior[i]);
    // Encoding predicts from the unfiltered bytes, so every byte is independent:
    // eight at a time in 16-bit lanes (one register even without AVX), the same
    // choice as paeth() in each.
    typedef std::uint8_t Bytes __attribute__((vector_size(8)));
    typedef std::int16_t Wide __attribute__((vector_size(16)));
    std::size_t i = lead;
    for (; i + 8 <= n; i += 8) {
        Bytes x8, a8, b8, c8;
        std::memcpy(&x8, row + i, 8);
        std::memcpy(&a8, row + i - bpp, 8);
        std::memcpy(&b8, prior + i, 8);
        std::memcpy(&c8, prior + i - bpp, 8);
        const Wide a = __builtin_convertvector(a8, Wide);
        const Wide b = __builtin_convertvector(b8, Wide);
        const Wide c = __builtin_convertvector(c8, Wide);
        const Wide da = b - c;   // p - a
        const Wide db = a - c;   // p - b
        const Wide dc = da + db; // p - c
        const Wide pa = da < 0 ? -da : da;
        const Wide pb = db < 0 ? -db : db;
        const Wide pc = dc < 0 ? -dc : dc;
        const Wide predicted = ((pa <= pb) & (pa <= pc)) ? a : (pb <= pc ? b : c);
        const Bytes filtered = x8 - __builtin_convertvector(predicted, Bytes);
        std::memcpy(out + i, &filtered, 8);
    }
    for (; i < n; ++i)
        out[i] = std::uint8_t(row[i] - paeth(row[i - bpp], prior[i], prior[i - bpp]));
}

} // namespace

struct VXPngStripEncoder::Strip {
    std::vector<std::uint8_t> prior; // the row above the first
    std::vector<std::uint8_t> rows;
    std::int32_t count = 0;
    bool last = false;
    std::vector<std::uint8_t> out;
    std::uint32_t adler = 1;
    std::size_t length = 0; // filtered bytes
    bool done = false;
    bool ok = false;

    void compress(std::size_t rowBytes, std::size_t pixelBytes, bool filtered) {
        std::vector<std::uint8_t> data((rowBytes + 1) * std::size_t(count));
        for (std::int32_t r = 0; r < count; ++r) {
            const std::uint8_t* row = rows.data() + std::size_t(r) * rowBytes;
            const std::uint8_t* above = r == 0 ? prior.data() : row - rowBytes;
            std::uint8_t* to = data.data() + std::size_t(r) * (rowBytes + 1);
            to[0] = filtered ? kPaeth : 0;
            filterRow(to[0], row, above, rowBytes, pixelBytes, to + 1);
        }
        rows = {};
        prior = {};
        length = data.size();
        adler = std::uint32_t(adler32(1, data.data(), uInt(data.size())));
        z_stream z{};
        if (deflateInit2(&z, kLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            return;
        }
        out.resize(deflateBound(&z, uLong(data.size())) + 16);
        z.next_in = data.data();
        z.avail_in = uInt(data.size());
        z.next_out = out.data();
        z.avail_out = uInt(out.size());
        // All but the last strip end on a byte boundary without ending the stream.
        const int result = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
        ok = (last ? result == Z_STREAM_END : result == Z_OK) && z.avail_in == 0;
        out.resize(out.size() - z.avail_out);
        deflateEnd(&z);
    }
};

VXPngStripEncoder::VXPngStripEncoder(std::size_t rowBytes, std::int32_t pixelBytes, bool filtered, std::int32_t rows,
                                     std::int32_t threads, std::function<bool(std::string_view)> write)
    : m_row_bytes(rowBytes), m_pixel_bytes(std::max(1, pixelBytes)), m_filtered(filtered), m_rows(rows),
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
            strip->compress(m_row_bytes, std::size_t(m_pixel_bytes), m_filtered);
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
        strip->compress(m_row_bytes, std::size_t(m_pixel_bytes), m_filtered);
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
    const std::size_t head = m_first ? 2 : 0;
    const std::size_t tail = strip->last ? 4 : 0;
    std::vector<std::uint8_t> chunk(8 + head + strip->out.size() + tail + 4);
    putBE32(chunk.data(), std::uint32_t(chunk.size() - 12));
    std::memcpy(chunk.data() + 4, "IDAT", 4);
    std::uint8_t* p = chunk.data() + 8;
    if (m_first) {
        p[0] = 0x78; // deflate, 32K window
        p[1] = 0x01; // fastest compression, and the header's check
        p += 2;
        m_first = false;
    }
    std::memcpy(p, strip->out.data(), strip->out.size());
    p += strip->out.size();
    if (strip->last) {
        putBE32(p, m_adler);
        p += 4;
    }
    putBE32(p, std::uint32_t(crc32(0, chunk.data() + 4, uInt(p - chunk.data() - 4))));
    if (!m_write(std::string_view(reinterpret_cast<const char*>(chunk.data()), chunk.size()))) {
        m_failed = true;
    }
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
