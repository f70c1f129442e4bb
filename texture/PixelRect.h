// PixelRect: a rectangle of whole pixels, right and bottom exclusive: the one
// rectangle of image areas, previews and windows; host rectangles convert at the edge.
#pragma once

#include <cstdint>

namespace morvessan {

struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const PixelRect&) const = default;
};

} // namespace morvessan
