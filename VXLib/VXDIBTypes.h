// Binary layouts of the device-independent bitmap (header, core header, colour
// entry) and the 32-bit colour values (red in the low byte) the image classes use.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace morvessan {

static_assert(std::endian::native == std::endian::little,
              "the bitmap layouts are stored in the machine's byte order, which must be little-endian");

// The 40-byte information header that starts every packed bitmap block.
// A positive height stores rows bottom-up, a negative one top-down.
struct VXBitmapInfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};
static_assert(sizeof(VXBitmapInfoHeader) == 40);
static_assert(offsetof(VXBitmapInfoHeader, bitCount) == 14);
static_assert(offsetof(VXBitmapInfoHeader, clrUsed) == 32);

// The 12-byte core header of old bitmap files.
struct VXBitmapCoreHeader {
    std::uint32_t size = 12;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
};
static_assert(sizeof(VXBitmapCoreHeader) == 12);

// One colour-table entry: blue, green, red, reserved 0.
struct VXRGBQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;

    friend bool operator==(const VXRGBQuad&, const VXRGBQuad&) = default;
};
static_assert(sizeof(VXRGBQuad) == 4);

inline constexpr std::uint32_t kCompressionRGB = 0;
inline constexpr std::uint32_t kCompressionRLE8 = 1;
inline constexpr std::uint32_t kCompressionRLE4 = 2;
inline constexpr std::uint32_t kCompressionBitFields = 3;

// Colour values: red in bits 0-7, green 8-15, blue 16-23, alpha (where kept) 24-31.
// As an argument of drawing and replacement operations, bit 24 set means
// "palette index in bits 0-7" instead of a colour.
inline constexpr std::uint32_t kMagenta = 0xFF00FFu; // the transparent key colour
inline constexpr std::uint32_t kPaletteIndexFlag = 0x1000000u;

constexpr std::uint32_t vxRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return std::uint32_t(red) | (std::uint32_t(green) << 8) | (std::uint32_t(blue) << 16);
}
constexpr std::uint8_t vxRed(std::uint32_t colour) { return std::uint8_t(colour); }
constexpr std::uint8_t vxGreen(std::uint32_t colour) { return std::uint8_t(colour >> 8); }
constexpr std::uint8_t vxBlue(std::uint32_t colour) { return std::uint8_t(colour >> 16); }
constexpr std::uint8_t vxAlpha(std::uint32_t colour) { return std::uint8_t(colour >> 24); }
constexpr bool vxIsPaletteIndex(std::uint32_t colour) { return (colour & kPaletteIndexFlag) != 0; }

constexpr std::uint32_t vxColourOf(VXRGBQuad q) { return vxRGB(q.red, q.green, q.blue); }
constexpr VXRGBQuad vxQuadOf(std::uint32_t colour) {
    return VXRGBQuad{vxBlue(colour), vxGreen(colour), vxRed(colour), 0};
}

} // namespace morvessan
