// PixelRect: a rectangle of whole pixels, right and bottom exclusive, as the
// image and window rectangles that the editing geometry starts from.
#pragma once

namespace morvessan {

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};

} // namespace morvessan
