// The icon and cursor file layouts written byte by byte, little-endian, so the files
// are the same whatever machine draws them.
#include "resources/skin/IconFile.h"

namespace morvessan {

namespace {

constexpr std::uint32_t kDirectorySize = 6;
constexpr std::uint32_t kEntrySize = 16;
constexpr std::uint32_t kBitmapHeaderSize = 40;

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

bool fits(const VXImage2& image) {
    return image.bitCount() == 32 && image.width() >= 1 && image.width() <= 256 && image.height() >= 1 &&
           image.height() <= 256;
}

// AND-mask rows: one bit per pixel, padded to 4 bytes.
std::uint32_t maskStride(int width) { return (static_cast<std::uint32_t>(width) + 31) / 32 * 4; }

std::uint32_t imageSize(const VXImage2& image) {
    const auto width = static_cast<std::uint32_t>(image.width());
    const auto height = static_cast<std::uint32_t>(image.height());
    return kBitmapHeaderSize + width * height * 4 + maskStride(image.width()) * height;
}

// The bitmap header (height doubled: colour rows, then mask rows), the colour rows and the
// AND mask, both bottom-up. The mask marks the fully transparent pixels, whose colour is
// zero, so systems that ignore alpha leave the screen alone there.
void putImage(std::vector<std::uint8_t>& out, const VXImage2& image) {
    const int width = image.width();
    const int height = image.height();
    put32(out, kBitmapHeaderSize);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height) * 2);
    put16(out, 1);  // planes
    put16(out, 32); // bits per pixel
    put32(out, 0);  // no compression
    put32(out, imageSize(image) - kBitmapHeaderSize);
    for (int i = 0; i < 4; ++i) {
        put32(out, 0); // resolution and colour counts: unused
    }
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* row = image.row(y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + 4 * x;
            const bool clear = p[3] == 0;
            for (int c = 0; c < 4; ++c) {
                out.push_back(clear ? 0 : p[c]);
            }
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* row = image.row(y);
        std::vector<std::uint8_t> bits(maskStride(width), 0);
        for (int x = 0; x < width; ++x) {
            if (row[4 * x + 3] == 0) {
                bits[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), bits.begin(), bits.end());
    }
}

// Icon type 1 stores planes and bit count in the entry; cursor type 2 stores the hotspot there.
std::vector<std::uint8_t> encode(std::span<const VXImage2> images, std::uint32_t type, int hotspotX, int hotspotY) {
    if (images.empty() || images.size() > 0xFFFF) {
        return {};
    }
    for (const VXImage2& image : images) {
        if (!fits(image)) {
            return {};
        }
    }
    std::vector<std::uint8_t> out;
    put16(out, 0);
    put16(out, type);
    put16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = kDirectorySize + kEntrySize * static_cast<std::uint32_t>(images.size());
    for (const VXImage2& image : images) {
        out.push_back(static_cast<std::uint8_t>(image.width() & 0xFF)); // 256 is stored as 0
        out.push_back(static_cast<std::uint8_t>(image.height() & 0xFF));
        out.push_back(0); // colour count: none for 32 bits
        out.push_back(0);
        put16(out, type == 1 ? 1 : static_cast<std::uint32_t>(hotspotX));
        put16(out, type == 1 ? 32 : static_cast<std::uint32_t>(hotspotY));
        put32(out, imageSize(image));
        put32(out, offset);
        offset += imageSize(image);
    }
    for (const VXImage2& image : images) {
        putImage(out, image);
    }
    return out;
}

} // namespace

std::vector<std::uint8_t> encodeIconFile(std::span<const VXImage2> images) { return encode(images, 1, 0, 0); }

std::vector<std::uint8_t> encodeCursorFile(const VXImage2& image, int hotspotX, int hotspotY) {
    if (hotspotX < 0 || hotspotY < 0 || hotspotX >= image.width() || hotspotY >= image.height()) {
        return {};
    }
    return encode(std::span<const VXImage2>(&image, 1), 2, hotspotX, hotspotY);
}

} // namespace morvessan
