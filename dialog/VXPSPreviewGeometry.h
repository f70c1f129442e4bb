// What a preview control computes without a window: where the proxy goes in the
// client area, transparency over a checkerboard, the colour under a point, and the pan arithmetic.
#pragma once

#include "renderer/PixelBlock.h"
#include "texture/PixelRect.h"

#include <cstddef>
#include <cstdint>

namespace morvessan {

class VXImage2;

// Which proxy a preview control shows.
enum VXPSPreviewKind : int {
    kPreviewDisplay = 1, // the shaded proxy with a selection, else the source proxy
    kPreviewOutput = 2,  // the filter's rendering
};

// Where an image of imageWidth x imageHeight goes in a client area of
// clientWidth x clientHeight: fitted to the client keeping its proportions when
// `fit` (the filter can zoom out), else its own size; centred either way.
PixelRect previewPlacement(int imageWidth, int imageHeight, int clientWidth, int clientHeight, bool fit);

// Grey of the transparency checkerboard at (column, row): 10 x 10 squares, 255
// where (column / 10 + row / 10) is even, 192 where it is odd.
std::uint8_t previewCheckerGrey(int column, int row);

// A 32-bit proxy (blue, green, red, alpha) as the 24-bit picture a preview draws:
// opaque pixels copied, others composed over the checkerboard with
// (channel x a + grey x (255 - a)) / 255. Same size and row order as `source`.
// False (target emptied) when `source` is not a 32-bit image.
bool composeOverCheckerboard(const VXImage2& source, VXImage2& target);

// The colour (0x00BBGGRR) of the proxy pixel shown at client point (x, y) when the
// image is drawn stretched into `placement`; false outside it or for an image
// that is not 24 or 32 bits.
bool previewColourAt(const VXImage2& image, const PixelRect& placement, int x, int y, std::uint32_t& colour);

// The "Original Image" drag: with the preview rectangle p0 at the drag's start,
// the press point and the pointer now, the rectangle edges that keep the picture
// under the pointer: p0.left + (pressX - x) x p0 width / previewWidth (and the
// same for the top), integer arithmetic.
struct VXPSPanTarget {
    std::int32_t left = 0;
    std::int32_t top = 0;
};
VXPSPanTarget panTarget(const VXPSRect& p0, int pressX, int pressY, int x, int y, std::int32_t previewWidth,
                        std::int32_t previewHeight);

} // namespace morvessan
