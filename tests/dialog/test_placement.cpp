// Fitting a saved picker rectangle onto the monitors: the nearest work area by overlap
// or distance, the edge order of the shifts, growth to the natural size and clipping.
#include "dialog/VXPlacement.h"

#include <gtest/gtest.h>

using namespace morvessan;

TEST(Placement, Fit) {
    // Primary 1920 × 1040 work area, a second monitor to its right, a third far below.
    const std::vector<VXRectI> areas = {{0, 0, 1920, 1040}, {1920, 0, 3200, 1024}, {0, 3000, 800, 3600}};
    const VXSizeI natural{400, 300};

    // Mostly on the second monitor, hanging off its top and right: moved inside it.
    EXPECT_EQ(fitPlacement({2900, -100, 3400, 300}, natural, areas), (VXRectI{2700, 0, 3200, 400}));
    // Off every monitor, nearest to the third: moved into it from below and the left.
    EXPECT_EQ(fitPlacement({-600, 3700, -100, 4100}, natural, areas), (VXRectI{0, 3200, 500, 3600}));
    // Reversed corners and smaller than natural: normalised, then grown from the top left.
    EXPECT_EQ(fitPlacement({300, 250, 100, 50}, natural, areas), (VXRectI{100, 50, 500, 350}));
    // Larger than the work area: shifted top first, then bottom, so it ends clipped on both.
    EXPECT_EQ(fitPlacement({-50, -80, 2000, 1200}, natural, areas), (VXRectI{0, 0, 1920, 1040}));
    // No monitors known: only normalised and grown.
    EXPECT_EQ(fitPlacement({5000, 5000, 5010, 5010}, natural, {}), (VXRectI{5000, 5000, 5400, 5300}));
    // Extreme values read back from settings do not overflow.
    EXPECT_EQ(fitPlacement({-2147483000, -2147483000, -2147482400, 2147482400}, natural, areas),
              (VXRectI{0, 0, 600, 1040}));

    EXPECT_EQ(nearestWorkArea({1800, 0, 2100, 100}, areas), 1); // larger overlap, not the first area
}
