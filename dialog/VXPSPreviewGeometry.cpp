// Preview placement, the transparency checkerboard, the colour under a point and
// the pan arithmetic, all in integers as the drawing code uses them.
#include "dialog/VXPSPreviewGeometry.h"

#include "VXLib/VXImage2.h"

namespace morvessan {

PixelRect previewPlacement(int imageWidth, int imageHeight, int clientWidth, int clientHeight, bool fit) {
    if (imageWidth <= 0 || imageHeight <= 0) {
        return {};
    }
    std::int64_t w = imageWidth;
    std::int64_t h = imageHeight;
    if (fit) {
        const std::int64_t fittedWidth = std::int64_t(imageWidth) * clientHeight / imageHeight;
        if (fittedWidth < clientWidth) {
            w = fittedWidth;
            h = clientHeight;
        } else {
            w = clientWidth;
            h = std::int64_t(imageHeight) * clientWidth / imageWidth;
        }
    }
    const int left = static_cast<int>((clientWidth - w) / 2);
    const int top = static_cast<int>((clientHeight - h) / 2);
    return {left, top, left + static_cast<int>(w), top + static_cast<int>(h)};
}

std::uint8_t previewCheckerGrey(int column, int row) { return (column / 10 + row / 10) % 2 == 0 ? 255 : 192; }

bool composeOverCheckerboard(const VXImage2& source, VXImage2& target) {
    if (source.bitCount() != 32 || !target.create(source.width(), source.height(), 24)) {
        target.reset();
        return false;
    }
    const int width = source.width();
    for (int y = 0; y < source.rows(); ++y) {
        const std::uint8_t* s = source.row(y);
        std::uint8_t* d = target.row(y);
        for (int x = 0; x < width; ++x, s += 4, d += 3) {
            const unsigned a = s[3];
            if (a == 255) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
                continue;
            }
            const unsigned grey = previewCheckerGrey(x, y);
            for (int c = 0; c < 3; ++c) {
                d[c] = static_cast<std::uint8_t>((s[c] * a + grey * (255 - a)) / 255);
            }
        }
    }
    return true;
}

bool previewColourAt(const VXImage2& image, const PixelRect& placement, int x, int y, std::uint32_t& colour) {
    const int bytes = image.bitCount() / 8;
    if ((bytes != 3 && bytes != 4) || placement.width() <= 0 || placement.height() <= 0 || x < placement.left ||
        y < placement.top || x >= placement.right || y >= placement.bottom) {
        return false;
    }
    const int ix = static_cast<int>(std::int64_t(x - placement.left) * image.width() / placement.width());
    const int iy = static_cast<int>(std::int64_t(y - placement.top) * image.rows() / placement.height());
    const std::uint8_t* p = image.row(iy) + static_cast<std::ptrdiff_t>(ix) * bytes;
    colour = std::uint32_t(p[2]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[0]) << 16;
    return true;
}

VXPSPanTarget panTarget(const VXPSRect& p0, int pressX, int pressY, int x, int y, std::int32_t previewWidth,
                        std::int32_t previewHeight) {
    VXPSPanTarget target{p0.left, p0.top};
    if (previewWidth > 0) {
        target.left += static_cast<std::int32_t>(std::int64_t(pressX - x) * p0.width() / previewWidth);
    }
    if (previewHeight > 0) {
        target.top += static_cast<std::int32_t>(std::int64_t(pressY - y) * p0.height() / previewHeight);
    }
    return target;
}

} // namespace morvessan
