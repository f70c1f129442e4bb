// PixelBlock: one rectangle of pixels handed to the renderer, and the plain
// left-top-right-bottom rectangle the driver keeps image areas in.
#pragma once

#include "texture/PixelRect.h"

#include <cstdint>

namespace morvessan {

enum PixelLayout : std::int32_t {
    kLayoutRGB = 0,  // host tiles, three planes
    kLayoutBGR = 1,  // screen images
    kLayoutRGBA = 2, // host tiles, four planes
    kLayoutBGRA = 3, // screen images with transparency
    kLayoutMask = 4, // one byte per pixel
};

struct PixelBlock {
    std::uint8_t* data = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bytesPerPixel = 0;
    std::int32_t stride = 0;
    PixelLayout layout = kLayoutRGB;

    std::uint8_t* row(std::int32_t y) const { return data + static_cast<std::intptr_t>(y) * stride; }
    // The part of this block that starts at (x, y) and is width × height pixels.
    PixelBlock sub(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) const {
        PixelBlock b = *this;
        b.data = data ? row(y) + static_cast<std::intptr_t>(x) * bytesPerPixel : nullptr;
        b.width = w;
        b.height = h;
        return b;
    }
};

// The driver's name for the plug-in's one pixel rectangle.
using VXPSRect = PixelRect;

// `r` moved (not resized) back inside `bounds`: shifted left when its right edge is
// beyond, up when its bottom is, right when its left is before, down when its top is.
// A rectangle larger than `bounds` ends at bounds' left or top edge and sticks out.
inline VXPSRect shiftInside(VXPSRect r, const VXPSRect& bounds) {
    if (r.right > bounds.right) {
        r.left -= r.right - bounds.right;
        r.right = bounds.right;
    }
    if (r.bottom > bounds.bottom) {
        r.top -= r.bottom - bounds.bottom;
        r.bottom = bounds.bottom;
    }
    if (r.left < bounds.left) {
        r.right += bounds.left - r.left;
        r.left = bounds.left;
    }
    if (r.top < bounds.top) {
        r.bottom += bounds.top - r.top;
        r.top = bounds.top;
    }
    return r;
}

} // namespace morvessan
