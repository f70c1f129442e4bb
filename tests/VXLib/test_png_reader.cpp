// The PNG reader: every colour type and bit depth, interlaced or not, the
// transparency rules, and damaged or oversized input.
#include "VXLib/VXPngReader.h"

#include "tests/VXLib/ImageMaker.h"

#include <gtest/gtest.h>

using namespace morvessan;
using namespace morvessan::testing;

namespace {

VXImage2 decode(const Bytes& png) {
    VXImage2 image;
    EXPECT_TRUE(vxLoadPngMemory(png.data(), png.size(), image));
    return image;
}

PngRecipe pngRecipe(int width, int height, int colourType, int bitDepth, bool interlaced = false) {
    PngRecipe s;
    s.width = width;
    s.height = height;
    s.colourType = colourType;
    s.bitDepth = bitDepth;
    s.interlaced = interlaced;
    return s;
}

bool greyTable(const VXImage2& image) {
    for (int i = 0; i < 256; ++i)
        if (image.colourTable()[i] != VXRGBQuad{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0})
            return false;
    return true;
}

// Channel samples that exercise every bit of the depth.
unsigned sampleOf(int x, int y, int c, int depth) {
    const unsigned max = (1u << depth) - 1;
    return (unsigned(x) * 37u + unsigned(y) * 101u + unsigned(c) * 59u) * (depth == 16 ? 257u : 1u) & max;
}

std::uint8_t to8(unsigned v, int depth) {
    switch (depth) {
    case 1: return std::uint8_t(v * 255);
    case 2: return std::uint8_t(v * 85);
    case 4: return std::uint8_t(v * 17);
    case 16: return std::uint8_t(v >> 8);
    default: return std::uint8_t(v);
    }
}

} // namespace

class PngDepths : public ::testing::TestWithParam<bool> {};

TEST_P(PngDepths, GreyOfEveryDepthBecomesEightBitGrey) {
    for (int depth : {1, 2, 4, 8, 16}) {
        PngRecipe s = pngRecipe(13, 5, 0, depth, GetParam());
        const auto f = [depth](int x, int y, int c) { return sampleOf(x, y, c, depth); };
        const VXImage2 image = decode(makePng(s, f));
        ASSERT_EQ(image.bitCount(), 8) << depth;
        EXPECT_TRUE(image.isTopDown());
        EXPECT_EQ(image.height(), 5);
        EXPECT_TRUE(greyTable(image));
        EXPECT_FALSE(image.hasAlpha());
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(image.pixel(x, y), to8(f(x, y, 0), depth)) << depth << " " << x << "," << y;
    }
}

TEST_P(PngDepths, PaletteOfEveryDepthKeepsIndicesAndTable) {
    for (int depth : {1, 2, 4, 8}) {
        PngRecipe s = pngRecipe(11, 4, 3, depth, GetParam());
        const int entries = 1 << depth;
        for (int i = 0; i < entries; ++i)
            s.paletteRGB.insert(s.paletteRGB.end(), {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2)});
        const auto f = [depth](int x, int y, int c) { return sampleOf(x, y, c, depth); };
        const VXImage2 image = decode(makePng(s, f));
        ASSERT_EQ(image.bitCount(), 8) << depth;
        ASSERT_EQ(image.colourTableEntries(), 256);
        EXPECT_EQ(
            image.colourTable()[entries - 1],
            (VXRGBQuad{std::uint8_t((entries - 1) / 2), std::uint8_t(256 - entries), std::uint8_t(entries - 1), 0}));
        if (entries < 256) {
            EXPECT_EQ(image.colourTable()[entries], (VXRGBQuad{0, 0, 0, 0}));
        }
        EXPECT_EQ(image.transparentColour(), -1);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 11; ++x)
                ASSERT_EQ(image.pixel(x, y), f(x, y, 0)) << depth << " " << x << "," << y;
    }
}

TEST_P(PngDepths, ColourAndColourWithAlpha) {
    for (int depth : {8, 16}) {
        const auto f = [depth](int x, int y, int c) { return sampleOf(x, y, c, depth); };
        PngRecipe rgb = pngRecipe(7, 6, 2, depth, GetParam());
        VXImage2 image = decode(makePng(rgb, f));
        ASSERT_EQ(image.bitCount(), 24);
        EXPECT_FALSE(image.hasAlpha());
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(image.pixel(x, y),
                          vxRGB(to8(f(x, y, 0), depth), to8(f(x, y, 1), depth), to8(f(x, y, 2), depth)));

        PngRecipe rgba = rgb;
        rgba.colourType = 6;
        image = decode(makePng(rgba, f));
        ASSERT_EQ(image.bitCount(), 32);
        EXPECT_TRUE(image.hasAlpha());
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(image.pixel(x, y),
                          vxRGB(to8(f(x, y, 0), depth), to8(f(x, y, 1), depth), to8(f(x, y, 2), depth)) |
                              (std::uint32_t(to8(f(x, y, 3), depth)) << 24));

        PngRecipe greyAlpha = rgb;
        greyAlpha.colourType = 4;
        image = decode(makePng(greyAlpha, f));
        ASSERT_EQ(image.bitCount(), 8); // the alpha is dropped
        EXPECT_FALSE(image.hasAlpha());
        EXPECT_TRUE(greyTable(image));
        EXPECT_EQ(image.pixel(3, 2), to8(f(3, 2, 0), depth));
    }
}

INSTANTIATE_TEST_SUITE_P(Interlace, PngDepths, ::testing::Values(false, true));

TEST(PngTransparency, SingleTransparentIndexIsRecorded) {
    PngRecipe s = pngRecipe(2, 1, 3, 8);
    s.paletteRGB = {10, 20, 30, 40, 50, 60};
    s.trnsAlpha = {0};
    const Bytes png = makePng(s, [](int x, int, int) { return unsigned(x); });
    const VXImage2 image = decode(png);
    EXPECT_EQ(image.bitCount(), 8);
    EXPECT_EQ(image.transparentColour(), 0);

    s.trnsAlpha = {255, 0}; // the only non-opaque entry is the last one
    EXPECT_EQ(decode(makePng(s, [](int x, int, int) { return unsigned(x); })).transparentColour(), 1);
}

TEST(PngTransparency, FileVariantDoesNotRecordTheIndex) {
    PngRecipe s = pngRecipe(2, 1, 3, 8);
    s.paletteRGB = {10, 20, 30, 40, 50, 60};
    s.trnsAlpha = {0};
    ScratchFolder folder;
    folder.write("t.png", makePng(s, [](int x, int, int) { return unsigned(x); }));
    VXImage2 image;
    ASSERT_TRUE(vxLoadPngFile(folder.file("t.png"), image));
    EXPECT_EQ(image.bitCount(), 8);
    EXPECT_EQ(image.transparentColour(), -1);
    EXPECT_TRUE(image.isTopDown());
}

TEST(PngTransparency, SeveralEntriesExpandToColourWithAlpha) {
    PngRecipe s = pngRecipe(2, 1, 3, 8);
    s.paletteRGB = {10, 20, 30, 40, 50, 60};
    s.trnsAlpha = {0, 255};
    VXImage2 image = decode(makePng(s, [](int x, int, int) { return unsigned(x); }));
    ASSERT_EQ(image.bitCount(), 32);
    EXPECT_TRUE(image.hasAlpha());
    EXPECT_EQ(image.transparentColour(), -1);
    EXPECT_EQ(image.pixel(0, 0), vxRGB(10, 20, 30));
    EXPECT_EQ(image.pixel(1, 0), vxRGB(40, 50, 60) | 0xFF000000u);

    s.trnsAlpha = {100, 200};
    image = decode(makePng(s, [](int x, int, int) { return unsigned(x); }));
    ASSERT_EQ(image.bitCount(), 32);
    EXPECT_EQ(vxAlpha(image.pixel(0, 0)), 100);
}

TEST(PngTransparency, ColourKeysGiveAlphaGreyKeysAreDropped) {
    PngRecipe rgb = pngRecipe(2, 1, 2, 8);
    rgb.trnsKey = true;
    VXImage2 image = decode(makePng(rgb, [](int x, int, int c) { return x == 0 ? unsigned(c + 1) : 9u; }));
    ASSERT_EQ(image.bitCount(), 32);
    EXPECT_EQ(image.pixel(0, 0), vxRGB(1, 2, 3)); // the key colour: alpha 0
    EXPECT_EQ(image.pixel(1, 0), vxRGB(9, 9, 9) | 0xFF000000u);

    PngRecipe grey = pngRecipe(2, 1, 0, 8);
    grey.trnsKey = true;
    image = decode(makePng(grey, [](int x, int, int) { return unsigned(x); }));
    EXPECT_EQ(image.bitCount(), 8);
    EXPECT_EQ(image.pixel(1, 0), 1u);
}

TEST(PngDamage, TruncatedWrongMagicAndOversized) {
    PngRecipe s = pngRecipe(9, 9, 2, 8);
    const Bytes png = makePng(s, [](int x, int y, int c) { return unsigned(x * y + c); });
    for (std::size_t n = 0; n < png.size(); n += (n < 64 ? 1 : 7)) {
        VXImage2 image;
        EXPECT_FALSE(vxLoadPngMemory(png.data(), n, image)) << "truncated at " << n;
        EXPECT_TRUE(image.isEmpty());
    }
    Bytes magic = png;
    magic[1] = 'Q';
    VXImage2 image;
    EXPECT_FALSE(vxLoadPngMemory(magic.data(), magic.size(), image));
    Bytes crc = png;
    crc[30] ^= 0xFF; // inside IHDR: its checksum no longer matches
    EXPECT_FALSE(vxLoadPngMemory(crc.data(), crc.size(), image));

    PngRecipe big = pngRecipe(30000, 30000, 6, 8);
    big.headerOnly = true;
    const Bytes header = makePng(big, nullptr);
    EXPECT_FALSE(vxLoadPngMemory(header.data(), header.size(), image)); // 3.6 GB: refused
    big.width = 30001;
    big.height = 1;
    const Bytes wide = makePng(big, nullptr);
    EXPECT_FALSE(vxLoadPngMemory(wide.data(), wide.size(), image));
    EXPECT_FALSE(vxLoadPngFile("/nonexistent/x.png", image));
    EXPECT_FALSE(vxLoadPngMemory(nullptr, 0, image));
}
