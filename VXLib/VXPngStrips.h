// A PNG's image data made on several threads: rows filtered and deflated in strips,
// each strip on its own, joined at flush points into one zlib stream.
#pragma once

#include "VXLib/VXImageWriter.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace morvessan {

// Takes a picture's rows in order and hands on its IDAT chunks (whole, with length,
// type and CRC) in order through `write`. Each strip of rows is filtered (Up: each
// byte less the one above it; none for palette indices) and deflated at the level
// asked independently of the others (vxDeflateStrip), the strips ending at flush
// points but the last, the Adler-32 of the whole combined from theirs. The bytes
// depend only on the rows and the level, never on the number of threads.
class VXPngStripEncoder {
public:
    // `rowBytes` per row, `filtered` false for palette indices, `rows` in all;
    // `threads` compress (1: on the caller's thread, as each strip fills).
    VXPngStripEncoder(std::size_t rowBytes, bool filtered, std::int32_t rows, std::int32_t threads,
                      VXPngCompression compression, std::function<bool(std::string_view)> write);
    ~VXPngStripEncoder();
    VXPngStripEncoder(const VXPngStripEncoder&) = delete;
    VXPngStripEncoder& operator=(const VXPngStripEncoder&) = delete;

    // The next row; false once compressing or writing has failed.
    bool addRow(const std::uint8_t* row);
    // After the last row: every chunk written, the stream ended with its Adler-32.
    bool finish();

private:
    struct Strip;
    void compress(Strip& strip);
    // A buffer of an earlier strip (empty, its capacity kept), or a new one.
    std::vector<std::uint8_t> spare();
    // `buffer` kept for a later strip (or freed when enough are kept), left empty.
    void keep(std::vector<std::uint8_t>& buffer);
    void submit();
    bool emitFront();
    void serve();

    std::size_t m_row_bytes;
    bool m_filtered;
    VXPngCompression m_compression;
    std::int32_t m_rows;
    std::int32_t m_strip_rows;
    std::int32_t m_rows_added = 0;
    std::function<bool(std::string_view)> m_write;
    std::unique_ptr<Strip> m_filling;
    std::vector<std::uint8_t> m_last_row; // the row before the strip being filled
    std::uint32_t m_adler = 1;
    bool m_first = true;
    bool m_failed = false;

    std::mutex m_mutex;
    std::condition_variable m_work;
    std::condition_variable m_done;
    std::deque<std::unique_ptr<Strip>> m_in_order;  // submitted, not yet written
    std::deque<Strip*> m_queue;                     // submitted, not yet taken by a thread
    std::vector<std::vector<std::uint8_t>> m_spare; // buffers of strips written
    std::size_t m_most_in_flight = 1;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

} // namespace morvessan
