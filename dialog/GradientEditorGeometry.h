// Where the gradient editor draws its strip and stop markers, which marker a
// press hits, where a drag puts a stop, and the colour of every strip pixel.
#pragma once

#include "texture/ColourTable.h"
#include "texture/GradientStops.h"

#include <array>
#include <cstdint>

namespace morvessan {

// Notifications the editor sends its parent.
enum GradientEditorNotification : int {
    kGradientDragStarted = 100,
    kGradientPositionChanged = 101,
    kGradientDragEnded = 102,
    kGradientSelectionMade = 103,
    kGradientMarkerDoubleClicked = 104,
};

inline constexpr int kMarkerBandHeight = 12;
inline constexpr int kMarkerHalfWidth = 5;
inline constexpr int kMarkerHeight = 10;
inline constexpr int kCheckerSize = 10;

// The strip's height in an editor `height` pixels high; the marker band starts there.
int stripHeight(int height);

// The x of a stop's marker: trunc(width x position / 255).
int markerX(int width, int position);

struct MarkerTriangle {
    int apexX, apexY;
    int leftX, rightX, baseY;
};

// The marker of a stop at `position`: apex at the top of the band, base 10 pixels lower.
MarkerTriangle markerTriangle(int width, int height, int position);

// The stop whose marker box (x - 5 .. x + 5 wide, 10 high from the band's top) holds the
// point, or -1. Where boxes overlap the selected stop wins, then the one drawn last.
int hitMarker(const GradientStops& stops, int width, int height, int x, int y);

// Whether a pointer moved by (dx, dy) since the press starts a drag.
bool startsDrag(int dx, int dy, int dragWidth, int dragHeight);

// The stop's new position during a drag: trunc((startX + offset) / width x 255), limited to 0..255.
int dragPosition(int startX, int offset, int width);

// The table entry shown in strip column `column`: entry 0 at the left edge, 999 at the right.
int stripEntry(int column, int width);

// A strip pixel: the entry's three channels over the checkerboard, by its opacity.
std::array<std::uint8_t, 3> stripPixel(const ColourEntry& entry, int column, int row);

} // namespace morvessan
