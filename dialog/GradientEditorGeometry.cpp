// Pixel geometry of the gradient editor, kept free of windows so that it can be tested.
#include "dialog/GradientEditorGeometry.h"

#include <algorithm>
#include <cmath>

namespace morvessan {

int stripHeight(int height) { return std::max(height - kMarkerBandHeight, 0); }

int markerX(int width, int position) { return static_cast<int>(static_cast<std::int64_t>(width) * position / 255); }

MarkerTriangle markerTriangle(int width, int height, int position) {
    const int x = markerX(width, position);
    const int top = stripHeight(height);
    return {x, top, x - kMarkerHalfWidth, x + kMarkerHalfWidth, top + kMarkerHeight};
}

int hitMarker(const GradientStops& stops, int width, int height, int x, int y) {
    const int top = stripHeight(height);
    if (y < top || y >= top + kMarkerHeight) {
        return -1;
    }
    const auto inBox = [&](int i) {
        const int mx = markerX(width, stops.position(i));
        return x >= mx - kMarkerHalfWidth && x < mx + kMarkerHalfWidth;
    };
    if (inBox(stops.selected())) {
        return stops.selected();
    }
    for (int i = stops.count() - 1; i >= 0; --i) {
        if (inBox(i)) {
            return i;
        }
    }
    return -1;
}

bool startsDrag(int dx, int dy, int dragWidth, int dragHeight) {
    // Widened so that no difference of two window coordinates overflows.
    return std::abs(static_cast<std::int64_t>(dx)) > dragWidth || std::abs(static_cast<std::int64_t>(dy)) > dragHeight;
}

int dragPosition(int startX, int offset, int width) {
    if (width <= 0) {
        return 0;
    }
    const double p = (static_cast<double>(startX) + offset) / width * 255;
    if (!(p > 0.0)) {
        return 0;
    }
    return p >= 255.0 ? 255 : static_cast<int>(p);
}

int stripEntry(int column, int width) {
    if (width <= 0 || column <= 0) {
        return 0;
    }
    const auto e = static_cast<std::int64_t>(column) * kColourTableSize / width;
    return static_cast<int>(std::min<std::int64_t>(e, kColourTableSize - 1));
}

std::array<std::uint8_t, 3> stripPixel(const ColourEntry& entry, int column, int row) {
    const int grey = (column / kCheckerSize + row / kCheckerSize) % 2 == 0 ? 255 : 192;
    const int a = entry.alpha;
    std::array<std::uint8_t, 3> out;
    for (int c = 0; c < 3; ++c) {
        out[c] = static_cast<std::uint8_t>((entry.channel[c] * a + grey * (255 - a)) / 255);
    }
    return out;
}

} // namespace morvessan
