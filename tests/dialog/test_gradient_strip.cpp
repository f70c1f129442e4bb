// The gradient editor's strip: the stops' own opacities in display order, never
// scaled by the texture's total opacity.
#include "dialog/VXGradientStrip.h"

#include <gtest/gtest.h>

using namespace morvessan;

TEST(GradientStrip, ShowsTheStopsOwnOpacityInDisplayOrder) {
    GradientStops stops;
    ASSERT_TRUE(stops.removeStop());      // one stop left, selected
    stops.setSelectedColour(0x80336699u); // opacity 0x80, blue 0x33, green 0x66, red 0x99
    const std::vector<ColourEntry> table = gradientStripTable(stops);
    ASSERT_EQ(table.size(), static_cast<std::size_t>(kColourTableSize));
    for (const ColourEntry& entry : {table.front(), table[500], table.back()}) {
        EXPECT_EQ(entry.channel[0], 0x33);
        EXPECT_EQ(entry.channel[1], 0x66);
        EXPECT_EQ(entry.channel[2], 0x99);
        EXPECT_EQ(entry.alpha, 0x80);
    }
}

TEST(GradientStrip, RampsFromTransparentBlackToOpaqueWhite) {
    const std::vector<ColourEntry> table = gradientStripTable(GradientStops());
    EXPECT_EQ(table[0].alpha, 0);
    EXPECT_EQ(table[500].channel[0], 127);
    EXPECT_EQ(table[500].alpha, 127);
    EXPECT_EQ(table[999].channel[2], 254);
    EXPECT_EQ(table[999].alpha, 254);
}
