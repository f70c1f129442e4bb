// Colour scheme defaults, the skin ramp's boundaries, composition from 8- and 24-bit
// pictures of either storage order under an alpha overlay, and the tiling geometry.
#include "dialog/VXSkin.h"

#include <gtest/gtest.h>

using namespace morvessan;

namespace {

// The composed pixel at (x, y) from the top, as a COLORREF.
std::uint32_t colourAt(const VXImage2& image, int x, int y) {
    const std::uint8_t* p = image.row(y) + 3 * x;
    return p[2] | (p[1] << 8) | (std::uint32_t(p[0]) << 16);
}

} // namespace

TEST(Skin, SchemesAndRamp) {
    const VXColourScheme dialog = VXColourScheme::dialogDefaults();
    EXPECT_EQ(dialog[VXColourRole::Face], 0xCFCEC9u);
    EXPECT_EQ(dialog[VXColourRole::Selected], 0xB2B0A8u);
    EXPECT_EQ(dialog[VXColourRole::Background], 0xFFFFFFu);
    VXColourScheme list = VXColourScheme::listBoxDefaults();
    EXPECT_EQ(list[VXColourRole::Background], 0xCFCEC9u);
    list[VXColourRole::Background] = 0xFFFFFFu;
    EXPECT_EQ(list, dialog);

    const VXSkinRamp ramp = skinRamp(dialog);
    EXPECT_EQ(ramp[0], 0x848072u);   // DarkShadow
    EXPECT_EQ(ramp[84], 0xA4A291u);  // one step short of Shadow
    EXPECT_EQ(ramp[85], 0xA5A392u);  // Shadow
    EXPECT_EQ(ramp[169], 0xCECDC8u); // one step short of Face
    EXPECT_EQ(ramp[170], 0xCFCEC9u); // Face
    EXPECT_EQ(ramp[255],
              0xF5F4EFu); // (Face + 85 × Highlight) / 86, short of Highlight
}

TEST(Skin, Composition) {
    const VXColourScheme scheme = VXColourScheme::dialogDefaults();
    // 8 bits, bottom-up, with a palette that must not be used: the values index
    // the ramp.
    VXImage2 grey;
    ASSERT_TRUE(grey.create(2, -2, 8));
    grey.colourTable()[170] = {0x10, 0x20, 0x30, 0};
    grey.setPixel(0, 0, 0);
    grey.setPixel(1, 0, 85);
    grey.setPixel(0, 1, 170);
    grey.setPixel(1, 1, 255);
    auto skin = composeSkin(&grey, nullptr, scheme);
    ASSERT_TRUE(skin);
    EXPECT_EQ(skin->bitCount(), 24);
    EXPECT_GT(skin->height(), 0); // top-down
    EXPECT_EQ(colourAt(*skin, 0, 0), 0x848072u);
    EXPECT_EQ(colourAt(*skin, 1, 0), 0xA5A392u);
    EXPECT_EQ(colourAt(*skin, 0, 1), 0xCFCEC9u);
    EXPECT_EQ(colourAt(*skin, 1, 1), 0xF5F4EFu);

    // 24 bits bottom-up, copied; a 32-bit overlay of another size blends over the
    // overlap only.
    VXImage2 colour;
    ASSERT_TRUE(colour.create(3, -2, 24));
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            colour.setPixel(x, y, 0x102030u + std::uint32_t(3 * y + x));
        }
    }
    VXImage2 overlay;
    ASSERT_TRUE(overlay.create(2, 3, 32));
    overlay.setPixel(0, 0, 0x00FFFFFFu); // alpha 0
    overlay.setPixel(1, 0, 0xFF0000FFu); // alpha 255, red
    overlay.setPixel(0, 1, 0x80C86400u); // alpha 128: red 0, green 100, blue 200
    overlay.setPixel(1, 1, 0xFFFFFFFFu);
    EXPECT_EQ(colourAt(*composeSkin(&colour, &overlay, scheme), 0, 0),
              0x102030u); // no alpha flag: no blend
    overlay.setHasAlpha(true);
    skin = composeSkin(&colour, &overlay, scheme);
    ASSERT_TRUE(skin);
    EXPECT_EQ(colourAt(*skin, 0, 0), 0x102030u);
    EXPECT_EQ(colourAt(*skin, 1, 0), 0x0000FFu);
    // Background 0x102033: red 0x33, green 0x20, blue 0x10.
    EXPECT_EQ(colourAt(*skin, 0, 1), std::uint32_t((127 * 0x33) / 255 | ((128 * 100 + 127 * 0x20) / 255) << 8 |
                                                   ((128 * 200 + 127 * 0x10) / 255) << 16));
    EXPECT_EQ(colourAt(*skin, 1, 1), 0xFFFFFFu);
    EXPECT_EQ(colourAt(*skin, 2, 1), 0x102035u); // outside the overlay's width

    VXImage2 deep;
    ASSERT_TRUE(deep.create(2, 2, 32));
    EXPECT_FALSE(composeSkin(&deep, nullptr, scheme));
    EXPECT_FALSE(composeSkin(nullptr, &overlay, scheme));
    EXPECT_FALSE(composeSkin(&overlay, nullptr, scheme));
}

TEST(Skin, Tiles) {
    // Negative offset: the first tile starts 3 pixels into the picture.
    const auto tiles = skinTiles({10, 20, 30, 30}, -3, -12, 8, 5);
    const std::vector<VXSkinTile> expected = {
        {10, 20, 5, 3, 3, 2}, {15, 20, 8, 3, 0, 2}, {23, 20, 7, 3, 0, 2}, {10, 23, 5, 5, 3, 0}, {15, 23, 8, 5, 0, 0},
        {23, 23, 7, 5, 0, 0}, {10, 28, 5, 2, 3, 0}, {15, 28, 8, 2, 0, 0}, {23, 28, 7, 2, 0, 0},
    };
    EXPECT_EQ(tiles, expected);
    // Positive offset: the strip before the first whole tile is covered by the
    // tile's end.
    EXPECT_EQ(skinTiles({0, 0, 10, 4}, 13, 0, 8, 4), (std::vector<VXSkinTile>{{0, 0, 5, 4, 3, 0}, {5, 0, 5, 4, 0, 0}}));
    EXPECT_EQ(skinTiles({0, 0, 8, 4}, 16, -4, 8, 4), (std::vector<VXSkinTile>{{0, 0, 8, 4, 0, 0}}));
    EXPECT_TRUE(skinTiles({0, 0, 0, 4}, 0, 0, 8, 4).empty());
    EXPECT_TRUE(skinTiles({0, 0, 8, 4}, 0, 0, 0, 4).empty());
}
