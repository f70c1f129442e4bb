// Preview placement and transparency, the zoom ratio texts, and the locator
// rectangle kept inside the filter rectangle.
#include "VXLib/VXImage2.h"
#include "dialog/VXPSLocatorGeometry.h"
#include "dialog/VXPSPreviewGeometry.h"
#include "dialog/VXPSZoomRatio.h"
#include "plugin/VXPSFilter.h"

#include <gtest/gtest.h>

namespace morvessan::test {

TEST(MainGeometryTest, ZoomRatioTexts) {
    const VXPSRect rect{0, 0, 1000, 400};
    EXPECT_EQ(zoomRatioText(1, true, false, rect, 200, 200), "1:1");
    EXPECT_EQ(zoomRatioText(3, true, false, rect, 200, 200), "1:3");
    EXPECT_EQ(zoomRatioText(0, true, false, rect, 200, 200), "2:1");
    EXPECT_EQ(zoomRatioText(-5, true, false, rect, 200, 200), "7:1");
    EXPECT_EQ(zoomRatioText(5, false, true, rect, 200, 200), "1:5.0");
    EXPECT_EQ(zoomRatioText(5, false, true, {0, 0, 300, 410}, 200, 200), "1:2.0"); // 2.05 is stored just below itself
    EXPECT_EQ(zoomRatioText(5, true, true, rect, 200, 200), "1:5");
    EXPECT_EQ(zoomRatioText(5, false, true, rect, 0, 0), "1:5"); // no preview size yet
}

TEST(MainGeometryTest, PlacementAndCheckerboard) {
    EXPECT_EQ(previewPlacement(100, 50, 200, 200, true), (PixelRect{0, 50, 200, 150}));
    EXPECT_EQ(previewPlacement(50, 100, 200, 150, true), (PixelRect{62, 0, 137, 150}));
    EXPECT_EQ(previewPlacement(100, 50, 201, 200, false), (PixelRect{50, 75, 150, 125}));

    VXImage2 proxy;
    ASSERT_TRUE(proxy.create(12, 12, 32));
    proxy.row(0)[3] = 0;                     // (0, 0) transparent over white
    std::uint8_t* p = proxy.row(0) + 10 * 4; // (10, 0) half over grey 192
    p[0] = 0, p[1] = 100, p[2] = 255, p[3] = 128;
    std::uint8_t* q = proxy.row(11) + 11 * 4; // (11, 11) opaque, copied
    q[0] = 1, q[1] = 2, q[2] = 3, q[3] = 255;
    VXImage2 shown;
    ASSERT_TRUE(composeOverCheckerboard(proxy, shown));
    EXPECT_EQ(shown.bitCount(), 24);
    EXPECT_EQ(shown.row(0)[0], 255);
    EXPECT_EQ(shown.row(0)[30], (0 * 128 + 192 * 127) / 255);
    EXPECT_EQ(shown.row(0)[31], (100 * 128 + 192 * 127) / 255);
    EXPECT_EQ(shown.row(0)[32], (255 * 128 + 192 * 127) / 255);
    EXPECT_EQ(shown.row(11)[33], 1);
    EXPECT_EQ(shown.row(11)[35], 3);
    EXPECT_FALSE(composeOverCheckerboard(shown, proxy));

    std::uint32_t colour = 0;
    ASSERT_TRUE(previewColourAt(shown, {0, 0, 24, 24}, 23, 23, colour));
    EXPECT_EQ(colour, 0x010203u);
    EXPECT_FALSE(previewColourAt(shown, {0, 0, 24, 24}, 24, 0, colour));
}

TEST(MainGeometryTest, LocatorStaysTouchingEveryEdge) {
    VXPSFilter filter;
    VXPSLocatorModel locator(filter);
    const VXPSRect f{10, 20, 1010, 420};
    locator.open(f, {300, 100, 500, 200}, 200, 80);
    EXPECT_EQ(locator.clientRect(), (PixelRect{58, 16, 98, 36}));
    EXPECT_EQ(locator.pointerX(), 78);

    locator.move(-500, -500);
    EXPECT_EQ(locator.clientRect(), (PixelRect{0, 0, 40, 20}));
    EXPECT_EQ(locator.imageRect(), (VXPSRect{10, 20, 210, 120}));
    locator.move(900, 900);
    EXPECT_EQ(locator.clientRect(), (PixelRect{160, 60, 200, 80}));
    EXPECT_EQ(locator.imageRect(), (VXPSRect{810, 320, 1010, 420}));
    locator.move(-900, 900);
    EXPECT_EQ(locator.clientRect(), (PixelRect{0, 60, 40, 80}));
    locator.move(900, -900);
    EXPECT_EQ(locator.clientRect(), (PixelRect{160, 0, 200, 20}));

    // A rectangle larger than the filter is cut back to it.
    EXPECT_EQ(keepInsideFilter({0, 0, 2000, 50}, f), (VXPSRect{10, 20, 1010, 70}));

    // The pan follows the pointer: dragging right by 50 of 100 preview pixels
    // moves a 400-wide rectangle 200 to the left.
    const VXPSPanTarget pan = panTarget({400, 100, 800, 300}, 10, 10, 60, 0, 100, 100);
    EXPECT_EQ(pan.left, 200);
    EXPECT_EQ(pan.top, 120);
}

} // namespace morvessan::test
