// The pixels a host run works on: an interleaved 8-bit RGB or RGBA image with what
// its file carried besides, and an optional 8-bit selection mask (255 = selected).
#pragma once

#include "VXLib/VXPictureMetadata.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace morvessan {

struct HostImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t planes = 3;          // 3 = RGB, 4 = RGBA
    std::vector<std::uint8_t> pixels; // rows top to bottom, width * planes bytes each
    VXPictureMetadata metadata;       // of the input picture, written with the result
    std::int32_t fileBits = 8;        // bits a channel in the input file (16: rounded to 8 here)

    HostImage() = default;
    HostImage(std::int32_t w, std::int32_t h, std::int32_t p, std::uint8_t fill = 0)
        : width(w), height(h), planes(p), pixels(static_cast<std::size_t>(w) * h * p, fill) {}

    std::uint8_t* pixel(std::int32_t x, std::int32_t y) {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * planes;
    }
    const std::uint8_t* pixel(std::int32_t x, std::int32_t y) const {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * planes;
    }
    bool operator==(const HostImage&) const = default;
};

struct HostMask {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> bytes; // rows top to bottom

    HostMask() = default;
    HostMask(std::int32_t w, std::int32_t h, std::uint8_t fill = 255)
        : width(w), height(h), bytes(static_cast<std::size_t>(w) * h, fill) {}

    std::uint8_t& at(std::int32_t x, std::int32_t y) { return bytes[static_cast<std::size_t>(y) * width + x]; }
    std::uint8_t at(std::int32_t x, std::int32_t y) const { return bytes[static_cast<std::size_t>(y) * width + x]; }
};

} // namespace morvessan
