// Palettes: the standard tables, nearest-colour ties and the skip variant, the
// inverse colour map, the 15-bit table and the logical-palette block.
#include "VXLib/VXPalette.h"

#include <gtest/gtest.h>

#include <vector>

using namespace morvessan;

TEST(Palette, DefaultPaletteHoldsTheSystemColoursAtTheirPlaces) {
    const VXPalette p = VXPalette::defaultPalette();
    ASSERT_TRUE(p.isValid());
    ASSERT_EQ(p.count(), 256);
    const std::pair<int, std::uint32_t> fixed[] = {
        {0, vxRGB(0, 0, 0)},         {1, vxRGB(128, 0, 0)},       {2, vxRGB(0, 128, 0)},
        {3, vxRGB(128, 128, 0)},     {4, vxRGB(0, 0, 128)},       {5, vxRGB(128, 0, 128)},
        {6, vxRGB(0, 128, 128)},     {7, vxRGB(192, 192, 192)},   {8, vxRGB(192, 220, 192)},
        {9, vxRGB(164, 200, 240)},   {246, vxRGB(255, 251, 240)}, {247, vxRGB(160, 160, 164)},
        {248, vxRGB(128, 128, 128)}, {249, vxRGB(255, 0, 0)},     {250, vxRGB(0, 255, 0)},
        {251, vxRGB(255, 255, 0)},   {252, vxRGB(0, 0, 255)},     {253, vxRGB(255, 0, 255)},
        {254, vxRGB(0, 255, 255)},   {255, vxRGB(255, 255, 255)}};
    for (const auto& [index, colour] : fixed)
        EXPECT_EQ(p.colour(index), colour) << "entry " << index;
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(p.entries()[i].reserved, 0);
}

TEST(Palette, GreyPaletteAndTooLongTables) {
    const VXPalette g = VXPalette::greyPalette();
    for (int i = 0; i < 256; i += 51)
        EXPECT_EQ(g.colour(i), vxRGB(std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)));
    std::vector<VXRGBQuad> long_table(257);
    VXPalette p(long_table.data(), 257);
    EXPECT_FALSE(p.isValid());
    EXPECT_EQ(p.count(), 0);
    EXPECT_EQ(p.nearestIndex(0), -1);
}

TEST(Palette, NearestColourTiesGoToTheLaterEntry) {
    const VXRGBQuad t[4] = {{0, 0, 10, 0}, {0, 0, 30, 0}, {0, 0, 30, 0}, {0, 0, 200, 0}};
    VXPalette p(t, 4);
    EXPECT_EQ(p.nearestIndex(vxRGB(20, 0, 0)), 2); // 10 and 30 equally near; duplicates: the last
    EXPECT_EQ(p.nearestIndex(vxRGB(9, 0, 0)), 0);
    EXPECT_EQ(p.nearestIndexSkipping(vxRGB(30, 0, 0), 2), 1);
    EXPECT_EQ(p.nearestIndexSkipping(vxRGB(10, 0, 0), 0), 2);
    const VXRGBQuad one[1] = {{1, 1, 1, 0}};
    EXPECT_EQ(VXPalette(one, 1).nearestIndexSkipping(0, 0), -1);
}

TEST(Palette, InverseMapAndFifteenBitTable) {
    VXPalette p = VXPalette::greyPalette();
    const auto& map = p.inverseColourMap();
    ASSERT_EQ(map.size(), 32768u);
    EXPECT_EQ(map[0], 0);
    EXPECT_EQ(map[0x7FFF], 255); // computed for pure white, not 248
    EXPECT_EQ(map[0x7FFE], 245); // red 240, green 248, blue 248: the nearest grey is their mean
    EXPECT_EQ(p.table15()[255], 0x7FFF);
    const VXRGBQuad t[1] = {{0x08, 0x10, 0xF8, 0}}; // blue 8, green 16, red 248
    VXPalette q(t, 1);
    EXPECT_EQ(q.table15()[0], (1 << 10) | (2 << 5) | 31);
    EXPECT_EQ(q.table15()[1], 0);
}

TEST(Palette, LogicalPaletteBlock) {
    const VXRGBQuad t[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
    const std::vector<std::uint8_t> block = VXPalette(t, 2).buildLogicalPalette();
    EXPECT_EQ(block, (std::vector<std::uint8_t>{0x00, 0x03, 2, 0, 3, 2, 1, 0, 6, 5, 4, 0}));
}
