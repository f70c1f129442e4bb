// A strip's deflate data: zlib's run-length strategy or level 2 chosen on a sample,
// or libdeflate's whole-buffer encoder with its final block reopened by walking it.
#include "VXLib/VXDeflateStrip.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <memory>

namespace morvessan {

namespace {

// Measured on textures at 4096 x 4096 (Up-filtered rows): zlib's run-length strategy
// gives 6.7 MB in a quarter of a second where level 2 gives 7.6 MB, but grain breaks
// the runs (31 MB against level 2's 18 MB); libdeflate's level 6 gives 5.6 MB in
// under a second, smaller and three times faster than libpng's defaults.
constexpr int kZlibLevel = 2;
constexpr int kSmallLevel = 6;
// The sample the default level tries both strategies on: enough rows of a texture
// to show whether runs or repeats hold it, little beside the strip's megabyte.
constexpr std::size_t kSample = 16 * 1024;
constexpr int kSampleWindowBits = 14;
constexpr int kSampleMemLevel = 6;

// Raw deflate data of `data` through zlib; with `finish` the stream's end, else a
// sync flush. `windowBits` and `memLevel` as deflateInit2 takes them.
bool zlibDeflate(const std::uint8_t* data, std::size_t size, int level, int strategy, bool finish,
                 std::vector<std::uint8_t>& out, int windowBits = 15, int memLevel = 8) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -windowBits, memLevel, strategy) != Z_OK) {
        return false;
    }
    out.resize(deflateBound(&z, uLong(size)) + 16);
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(size);
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    const int result = deflate(&z, finish ? Z_FINISH : Z_SYNC_FLUSH);
    const bool ok = (finish ? result == Z_STREAM_END : result == Z_OK) && z.avail_in == 0;
    out.resize(out.size() - z.avail_out);
    deflateEnd(&z);
    return ok;
}

// Whether zlib's level 2 beats the run-length strategy on the middle of the strip by
// enough to pay for its time (runs win ties: they are faster).
bool repeatsWin(const std::uint8_t* data, std::size_t size) {
    const std::size_t length = std::min(size, kSample);
    const std::uint8_t* sample = data + (size - length) / 2;
    std::vector<std::uint8_t> runs;
    std::vector<std::uint8_t> repeats;
    // A window as large as the sample and tables to match: small allocations, and both
    // trials together about 3 % of the strip's own deflate.
    if (!zlibDeflate(sample, length, kZlibLevel, Z_RLE, true, runs, kSampleWindowBits, kSampleMemLevel) ||
        !zlibDeflate(sample, length, kZlibLevel, Z_DEFAULT_STRATEGY, true, repeats, kSampleWindowBits,
                     kSampleMemLevel)) {
        return false;
    }
    return repeats.size() * 16 < runs.size() * 15;
}

// libdeflate ends every buffer with a final block. Walks the blocks with zlib's
// inflate to find the last one's header, clears its final bit and adds the empty
// stored block a sync flush ends with, so that the next strip's data may follow.
// Also checks that the data inflates to `size` bytes.
bool reopenFinalBlock(std::vector<std::uint8_t>& out, std::size_t size) {
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) {
        return false;
    }
    z.next_in = out.data();
    z.avail_in = uInt(out.size());
    std::vector<std::uint8_t> sink(std::size_t(1) << 16); // inflate keeps its own window
    std::uint64_t header = 0;                             // bit where the block being read began
    std::uint64_t end = 0;
    std::uint64_t produced = 0;
    bool found = false;
    while (!found) {
        z.next_out = sink.data();
        z.avail_out = uInt(sink.size());
        const int result = inflate(&z, Z_BLOCK);
        produced += sink.size() - z.avail_out;
        if (result != Z_OK) {
            break; // the data ended (or broke) before a block boundary after the final block
        }
        if ((z.data_type & 128) != 0) { // just after a block's end
            const std::uint64_t boundary = std::uint64_t(z.total_in) * 8 - std::uint64_t(z.data_type & 7);
            if ((z.data_type & 64) != 0) {
                end = boundary;
                found = true;
            } else {
                header = boundary;
            }
        }
    }
    inflateEnd(&z);
    if (!found || produced != size || end > std::uint64_t(out.size()) * 8) {
        return false;
    }
    out[header / 8] = std::uint8_t(out[header / 8] & ~(1u << (header % 8)));
    // Three zero bits (not final, stored) after the last block, then to the byte.
    out.resize((end + 3 + 7) / 8, 0);
    if (end % 8 != 0) {
        out[end / 8] = std::uint8_t(out[end / 8] & ((1u << (end % 8)) - 1));
    }
    const std::uint8_t empty[4] = {0x00, 0x00, 0xFF, 0xFF};
    out.insert(out.end(), empty, empty + 4);
    return true;
}

struct CompressorFree {
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

bool libdeflateStrip(const std::uint8_t* data, std::size_t size, bool last, std::vector<std::uint8_t>& out) {
    const std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(libdeflate_alloc_compressor(kSmallLevel));
    if (!compressor) {
        return false;
    }
    out.resize(libdeflate_deflate_compress_bound(compressor.get(), size));
    const std::size_t written = libdeflate_deflate_compress(compressor.get(), data, size, out.data(), out.size());
    if (written == 0) {
        return false;
    }
    out.resize(written);
    return last || reopenFinalBlock(out, size);
}

} // namespace

bool vxDeflateStrip(const std::uint8_t* data, std::size_t size, bool last, VXPngCompression compression,
                    std::vector<std::uint8_t>& out) {
    switch (compression) {
    case VXPngCompression::Fast: return zlibDeflate(data, size, kZlibLevel, Z_RLE, last, out);
    case VXPngCompression::Small: return libdeflateStrip(data, size, last, out);
    default: return zlibDeflate(data, size, kZlibLevel, repeatsWin(data, size) ? Z_DEFAULT_STRATEGY : Z_RLE, last, out);
    }
}

std::uint8_t vxZlibLevelByte(VXPngCompression compression) {
    // 0x01: the fastest encoder; 0x9C: the default one. Both keep 0x78xx a multiple of 31.
    return compression == VXPngCompression::Small ? 0x9C : 0x01;
}

} // namespace morvessan
