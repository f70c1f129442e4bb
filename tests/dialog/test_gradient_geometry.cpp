// Gradient editor geometry: markers, hits, drags, the strip's entries and its
// checkerboard composition.
#include "dialog/GradientEditorGeometry.h"

#include <gtest/gtest.h>

using namespace morvessan;

namespace {

TEST(GradientGeometry, MarkersSitBelowTheStrip) {
    EXPECT_EQ(stripHeight(40), 28);
    EXPECT_EQ(stripHeight(5), 0);
    EXPECT_EQ(markerX(300, 0), 0);
    EXPECT_EQ(markerX(300, 255), 300);
    EXPECT_EQ(markerX(300, 127), 149);
    const MarkerTriangle t = markerTriangle(300, 40, 127);
    EXPECT_EQ(t.apexX, 149);
    EXPECT_EQ(t.apexY, 28);
    EXPECT_EQ(t.leftX, 144);
    EXPECT_EQ(t.rightX, 154);
    EXPECT_EQ(t.baseY, 38);
}

TEST(GradientGeometry, HitMarkerBoxes) {
    GradientStops s; // markers at 0 and 255 (x 0 and 255 in a 255-wide editor)
    EXPECT_EQ(hitMarker(s, 255, 40, 0, 28), 0);
    EXPECT_EQ(hitMarker(s, 255, 40, 4, 37), 0);
    EXPECT_EQ(hitMarker(s, 255, 40, 5, 30), -1);
    EXPECT_EQ(hitMarker(s, 255, 40, 250, 30), 1);
    EXPECT_EQ(hitMarker(s, 255, 40, 249, 30), -1);
    EXPECT_EQ(hitMarker(s, 255, 40, 100, 30), -1);
    EXPECT_EQ(hitMarker(s, 255, 40, 0, 27), -1); // in the strip
    EXPECT_EQ(hitMarker(s, 255, 40, 0, 38), -1); // below the box

    // Overlapping markers: the selected one first, else the one drawn last.
    TextureFields f;
    f.colourCount = 3;
    f.positions[0] = 100;
    f.positions[1] = 102;
    f.positions[2] = 255;
    GradientStops o = GradientStops::fromFields(f);
    o.selectStop(2);
    EXPECT_EQ(hitMarker(o, 255, 40, 101, 30), 1);
    o.selectStop(0);
    EXPECT_EQ(hitMarker(o, 255, 40, 101, 30), 0);
}

TEST(GradientGeometry, DragRule) {
    EXPECT_FALSE(startsDrag(4, -4, 4, 4));
    EXPECT_TRUE(startsDrag(-5, 0, 4, 4));
    EXPECT_TRUE(startsDrag(0, 5, 4, 4));
    EXPECT_EQ(dragPosition(100, 50, 300), 127); // 150 / 300 x 255 = 127.5
    EXPECT_EQ(dragPosition(100, -150, 300), 0);
    EXPECT_EQ(dragPosition(100, 500, 300), 255);
    EXPECT_EQ(dragPosition(299, 1, 300), 255);
    EXPECT_EQ(dragPosition(10, 10, 0), 0);
}

TEST(GradientGeometry, StripEntriesAndCheckerboard) {
    EXPECT_EQ(stripEntry(0, 300), 0);
    EXPECT_EQ(stripEntry(299, 300), 996);
    EXPECT_EQ(stripEntry(1999, 2000), 999);
    EXPECT_EQ(stripEntry(150, 300), 500);
    EXPECT_EQ(stripEntry(5000, 300), 999);
    EXPECT_EQ(stripEntry(5, 0), 0);

    const ColourEntry opaque{{10, 20, 30}, 255};
    const ColourEntry clear{{10, 20, 30}, 0};
    const ColourEntry half{{0, 100, 255}, 128};
    EXPECT_EQ(stripPixel(opaque, 15, 3), (std::array<std::uint8_t, 3>{10, 20, 30}));
    EXPECT_EQ(stripPixel(clear, 0, 0), (std::array<std::uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(stripPixel(clear, 10, 0), (std::array<std::uint8_t, 3>{192, 192, 192}));
    EXPECT_EQ(stripPixel(clear, 10, 10), (std::array<std::uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(stripPixel(clear, 9, 19), (std::array<std::uint8_t, 3>{192, 192, 192}));
    // (colour x 128 + grey x 127) / 255 over light and dark squares.
    EXPECT_EQ(stripPixel(half, 0, 0), (std::array<std::uint8_t, 3>{127, (100 * 128 + 255 * 127) / 255, 255}));
    EXPECT_EQ(stripPixel(half, 0, 10), (std::array<std::uint8_t, 3>{(192 * 127) / 255, (100 * 128 + 192 * 127) / 255,
                                                                    (255 * 128 + 192 * 127) / 255}));
}

} // namespace
