// Noise-weights editor geometry: columns, marker heights on the logarithmic
// axis, the hit test, dragging a weight, and noise levels that give no column.
#include "dialog/NoiseWeightsGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace morvessan;

namespace {

const PixelRect kClient{0, 0, 245, 120}; // columns of 30 for 8 octaves; axis height 110

TEST(NoiseWeights, ColumnsAndMarkers) {
    EXPECT_EQ(weightColumns(8.0), 8);
    EXPECT_EQ(weightColumns(8.9), 8);
    EXPECT_EQ(weightColumnWidth(kClient, 8), 30);
    EXPECT_EQ(weightColumn(kClient, 8, 2), (PixelRect{65, 0, 95, 120}));
    EXPECT_EQ(weightAxisHeight(kClient), 110);
    EXPECT_EQ(weightMarkerY(kClient, 1.0), 5);
    EXPECT_EQ(weightMarkerY(kClient, 0.5), 15);
    EXPECT_EQ(weightMarkerY(kClient, kSmallestWeight), 115);
    EXPECT_EQ(weightMarkerY(kClient, 0.3), static_cast<int>(-std::log2(0.3) * 110 / 11 + 5));
    EXPECT_EQ(weightMarkerY(PixelRect{10, 20, 255, 140}, 0.25), 45);
    // Weights a file can bring are drawn at the ends of the axis.
    EXPECT_EQ(weightMarkerY(kClient, 4.0), 5);
    EXPECT_EQ(weightMarkerY(kClient, 0.0), 115);
    EXPECT_EQ(weightMarkerY(kClient, -1.0), 115);
    EXPECT_EQ(weightMarkerY(kClient, std::numeric_limits<double>::quiet_NaN()), 115);
}

TEST(NoiseWeights, HitTest) {
    TextureFields f; // 8 octaves, weights 2^-i: markers at y = 5 + 10 i
    EXPECT_EQ(hitWeight(kClient, f, 5, 5), 0);
    EXPECT_EQ(hitWeight(kClient, f, 30, 9), 0);
    EXPECT_EQ(hitWeight(kClient, f, 30, 10), -1);
    EXPECT_EQ(hitWeight(kClient, f, 4, 5), -1);
    EXPECT_EQ(hitWeight(kClient, f, 40, 15), 1);
    EXPECT_EQ(hitWeight(kClient, f, 40, 5), -1);
    EXPECT_EQ(hitWeight(kClient, f, 220, 75), 7);
    // The last pixels of a column lie beyond left + cw (i + 1).
    EXPECT_EQ(hitWeight(kClient, f, 32, 5), -1);
    // Right of the last column there is no octave (8 x 30 + 5 = 245 is already outside).
    const PixelRect wide{0, 0, 260, 120};
    EXPECT_EQ(weightColumnWidth(wide, 8), 31);
    EXPECT_EQ(hitWeight(wide, f, 254, 85), -1);
    f.noiseLevel = 12.0;
    EXPECT_EQ(weightColumnWidth(wide, 12), 21);
    EXPECT_EQ(hitWeight(wide, f, 258, 115), -1);
    EXPECT_EQ(hitWeight(wide, f, 240, 115), 11);
}

TEST(NoiseWeights, LevelsWithoutColumnsHitNothing) {
    for (double level : {0.0, 0.99, -5.0, std::numeric_limits<double>::quiet_NaN()}) {
        TextureFields f;
        f.noiseLevel = level;
        EXPECT_EQ(weightColumns(level), 0);
        EXPECT_EQ(weightColumnWidth(kClient, 0), 0);
        for (int x = -10; x < 260; x += 7) {
            EXPECT_EQ(hitWeight(kClient, f, x, 5), -1);
        }
    }
    TextureFields huge;
    huge.noiseLevel = 1e9;
    EXPECT_EQ(weightColumns(huge.noiseLevel), 12);
    EXPECT_EQ(hitWeight(kClient, huge, 20, 5), 0);
    // A client too narrow for its columns has columns of no width.
    EXPECT_EQ(hitWeight(PixelRect{0, 0, 10, 120}, huge, 6, 5), -1);
}

TEST(NoiseWeights, DragToWeight) {
    EXPECT_EQ(dragWeight(kClient, 0.5, 0), 0.5);
    EXPECT_EQ(dragWeight(kClient, 0.5, 10), 0.25);
    EXPECT_EQ(dragWeight(kClient, 0.5, -10), 1.0);
    EXPECT_EQ(dragWeight(kClient, 0.5, -200), 1.0);
    EXPECT_EQ(dragWeight(kClient, 0.5, 500), kSmallestWeight);
    EXPECT_EQ(dragWeight(kClient, 0.5, 5), std::pow(2.0, -11.0 * 15 / 110));
    // The press offset is truncated: 0.3 sits at 17.37 pixels, so offset 17.
    EXPECT_EQ(dragWeight(kClient, 0.3, 0), std::pow(2.0, -11.0 * 17 / 110));
    // No usable height: nothing to drag along.
    EXPECT_EQ(dragWeight(PixelRect{0, 0, 100, 10}, 0.25, 30), 0.25);
    EXPECT_EQ(dragWeight(PixelRect{0, 0, 100, 4}, 7.0, 30), 1.0);
    EXPECT_EQ(dragWeight(kClient, std::numeric_limits<double>::quiet_NaN(), 0), kSmallestWeight);
}

} // namespace
