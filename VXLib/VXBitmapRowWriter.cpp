// Bitmap files row by row: the header first, then each row put at its place in the
// bottom-up file, so that the bytes are those of the whole-picture writer.
#include "VXLib/VXRowEncoders.h"

#include <cstring>
#include <string_view>

namespace morvessan {

namespace {

void putLE32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

void putLE16(std::uint8_t* p, std::uint16_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

// The first pixels of a row from red-green-blue into the file's blue-green-red,
// five at a time by one byte shuffle; returns how many it did. Its loads and
// stores stay within the row's pixels (the sixteenth byte is the next pixel's,
// which the next step or the caller writes again).
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
[[gnu::target("ssse3")]] std::int32_t swapRedAndBlueInLanes(const std::uint8_t* row, std::uint8_t* d,
                                                            std::int32_t width) {
    typedef std::uint8_t Bytes __attribute__((vector_size(16)));
    std::int32_t x = 0;
    for (; x + 6 <= width; x += 5) {
        Bytes v;
        std::memcpy(&v, row + 3 * x, sizeof v);
        v = __builtin_shufflevector(v, v, 2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
        std::memcpy(d + 3 * x, &v, sizeof v);
    }
    return x;
}

bool haveByteShuffle() { return __builtin_cpu_supports("ssse3"); }
#else
std::int32_t swapRedAndBlueInLanes(const std::uint8_t*, std::uint8_t*, std::int32_t) { return 0; }
bool haveByteShuffle() { return false; }
#endif

class BitmapRowWriter final : public VXRowWriter {
public:
    BitmapRowWriter(VXFileReplacement& file, const VXRowFormat& format)
        : VXRowWriter(file, format), m_alpha(format.kind == VXRowKind::Rgba),
          m_stride((std::size_t(format.width) * (m_alpha ? 32 : 24) + 31) / 32 * 4), m_row(m_stride, 0) {}

    // The file header and the 40-byte information header; with alpha the 108-byte
    // form with the red, green, blue and alpha masks and the sRGB colour space (no
    // end points, no gamma), as common tools write it so that readers keep the alpha.
    bool start(const VXPictureMetadata* metadata) {
        const std::uint32_t header = m_alpha ? 108 : 40;
        m_data_offset = 14 + header;
        const std::uint64_t image = std::uint64_t(m_stride) * std::uint64_t(format().height);
        std::vector<std::uint8_t> bytes(m_data_offset, 0);
        bytes[0] = 'B';
        bytes[1] = 'M';
        putLE32(bytes.data() + 2, std::uint32_t(m_data_offset + image));
        putLE32(bytes.data() + 10, std::uint32_t(m_data_offset));
        std::uint8_t* info = bytes.data() + 14;
        putLE32(info, header);
        putLE32(info + 4, std::uint32_t(format().width));
        putLE32(info + 8, std::uint32_t(format().height));
        putLE16(info + 12, 1);
        putLE16(info + 14, m_alpha ? 32 : 24);
        putLE32(info + 16, m_alpha ? 3 : 0); // bit fields with the masks
        putLE32(info + 20, std::uint32_t(image));
        if (metadata != nullptr && metadata->dotsPerMetreX != 0 && metadata->dotsPerMetreY != 0 &&
            metadata->dotsPerMetreX <= 0x7FFFFFFF && metadata->dotsPerMetreY <= 0x7FFFFFFF) {
            putLE32(info + 24, metadata->dotsPerMetreX);
            putLE32(info + 28, metadata->dotsPerMetreY);
        }
        if (m_alpha) {
            putLE32(info + 40, 0x00FF0000u);
            putLE32(info + 44, 0x0000FF00u);
            putLE32(info + 48, 0x000000FFu);
            putLE32(info + 52, 0xFF000000u);
            putLE32(info + 56, 0x73524742u); // 'sRGB'
        }
        return file().write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

protected:
    // Row y of the picture is row height - 1 - y of the file.
    bool encodeRow(const std::uint8_t* row) override {
        const std::int32_t n = m_alpha ? 4 : 3;
        std::uint8_t* d = m_row.data();
        std::int32_t x = 0;
        if (!m_alpha && m_shuffle) {
            x = swapRedAndBlueInLanes(row, d, format().width);
            row += 3 * x;
            d += 3 * x;
        }
        for (; x < format().width; ++x, row += n, d += n) {
            d[0] = row[2];
            d[1] = row[1];
            d[2] = row[0];
            if (m_alpha)
                d[3] = row[3];
        }
        const std::uint64_t stored = std::uint64_t(format().height) - 1 - std::uint64_t(rowsWritten());
        const std::string_view bytes(reinterpret_cast<const char*>(m_row.data()), m_row.size());
        // Rows arrive top first: each but the first goes just before the one written last.
        return file().writeAt(m_data_offset + stored * m_stride, bytes);
    }

    bool encodeEnd() override { return true; }

private:
    bool m_alpha;
    bool m_shuffle = haveByteShuffle();
    std::size_t m_stride;
    std::vector<std::uint8_t> m_row; // its padding stays zero
    std::uint64_t m_data_offset = 0;
};

} // namespace

std::unique_ptr<VXRowWriter> vxBitmapRowWriter(VXFileReplacement& file, const VXRowFormat& format,
                                               const VXPictureMetadata* metadata, std::string& reason) {
    if (format.bitDepth != 8 || (format.kind != VXRowKind::Rgb && format.kind != VXRowKind::Rgba)) {
        reason = vxNotEncoded(file.path());
        return nullptr;
    }
    // The file's size fields have 32 bits: a larger picture would get a header that lies.
    const std::uint64_t stride =
        (std::uint64_t(format.width) * (format.kind == VXRowKind::Rgba ? 32 : 24) + 31) / 32 * 4;
    if (stride * std::uint64_t(format.height) + 14 + 108 > 0xFFFFFFFFu) {
        reason = "Cannot write \"" + file.path() + "\": a bitmap file holds at most 4 GiB.";
        return nullptr;
    }
    auto writer = std::make_unique<BitmapRowWriter>(file, format);
    if (!writer->start(metadata)) {
        reason = vxNotEncoded(file.path());
        return nullptr;
    }
    return writer;
}

} // namespace morvessan
