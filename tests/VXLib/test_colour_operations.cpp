// Colour operations on buffers: replacement, masked fill, replacement within a
// tolerance, and mask building from a key colour.
#include "VXLib/VXImage2.h"
#include "VXLib/VXMaskDIBBuffer.h"

#include <gtest/gtest.h>

using namespace morvessan;

namespace {

VXImage2 twoByTwo24(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    VXImage2 image;
    image.create(2, 2, 24);
    image.setPixel(0, 0, a);
    image.setPixel(1, 0, b);
    image.setPixel(0, 1, c);
    image.setPixel(1, 1, d);
    return image;
}

} // namespace

TEST(ColourReplace, ExactReplacementByDepth) {
    VXImage2 image = twoByTwo24(kMagenta, 0x010203, kMagenta, 0);
    image.replaceColour(kMagenta, 0x00FF00);
    EXPECT_EQ(image.pixel(0, 0), 0x00FF00u);
    EXPECT_EQ(image.pixel(0, 1), 0x00FF00u);
    EXPECT_EQ(image.pixel(1, 0), 0x010203u);

    VXImage2 indexed;
    ASSERT_TRUE(indexed.create(3, 1, 4));
    indexed.setPixel(0, 0, 5);
    indexed.setPixel(1, 0, 6);
    indexed.setPixel(2, 0, 5);
    indexed.replaceColour(kPaletteIndexFlag | 5, kPaletteIndexFlag | 9);
    EXPECT_EQ(indexed.pixel(0, 0), 9u);
    EXPECT_EQ(indexed.pixel(1, 0), 6u);
    EXPECT_EQ(indexed.pixel(2, 0), 9u);

    VXImage2 wide; // 32 bits is left as it is
    ASSERT_TRUE(wide.create(1, 1, 32));
    wide.replaceColour(0, 0xFFFFFF);
    EXPECT_EQ(wide.pixel(0, 0), 0u);
}

TEST(ColourReplace, MaskedFillFollowsTheMaskBits) {
    VXImage2 image = twoByTwo24(1, 2, 3, 4);
    VXMaskDIBBuffer mask;
    ASSERT_TRUE(mask.create(2, 2));
    mask.setBit(1, 0, 1);
    mask.setBit(0, 1, 1);
    image.maskedFill(mask, 1, 0xABCDEF);
    EXPECT_EQ(image.pixel(0, 0), 1u);
    EXPECT_EQ(image.pixel(1, 0), 0xABCDEFu);
    EXPECT_EQ(image.pixel(0, 1), 0xABCDEFu);
    EXPECT_EQ(image.pixel(1, 1), 4u);
    VXMaskDIBBuffer other;
    ASSERT_TRUE(other.create(3, 2));
    image.maskedFill(other, 0, 0); // a mask of another size does nothing
    EXPECT_EQ(image.pixel(0, 0), 1u);
}

TEST(ColourReplace, ToleranceIsClampedAndPerChannel) {
    VXImage2 image = twoByTwo24(vxRGB(250, 3, 100), vxRGB(255, 0, 95), vxRGB(255, 0, 94), vxRGB(244, 0, 100));
    EXPECT_EQ(image.replaceColourWithinTolerance(vxRGB(255, 0, 100), 5), std::int32_t(vxRGB(255, 0, 100)));
    EXPECT_EQ(image.pixel(0, 0), vxRGB(255, 0, 100));
    EXPECT_EQ(image.pixel(1, 0), vxRGB(255, 0, 100));
    EXPECT_EQ(image.pixel(0, 1), vxRGB(255, 0, 94));  // blue 6 away
    EXPECT_EQ(image.pixel(1, 1), vxRGB(244, 0, 100)); // red 11 away

    VXImage2 wide;
    ASSERT_TRUE(wide.create(1, 1, 32));
    wide.setPixel(0, 0, 0x7F000001u);
    EXPECT_EQ(wide.replaceColourWithinTolerance(0, 1), 0);
    EXPECT_EQ(wide.pixel(0, 0), 0x7F000000u); // colour replaced, alpha kept

    VXImage2 one;
    ASSERT_TRUE(one.create(8, 1, 1));
    EXPECT_EQ(one.replaceColourWithinTolerance(0, 0), -1);
}

TEST(ColourReplace, IndexedKeyResolvesThroughTheTable) {
    const VXPalette grey = VXPalette::greyPalette();
    VXImage2 image;
    ASSERT_TRUE(image.create(3, 1, 8, &grey));
    image.setPixel(0, 0, 100);
    image.setPixel(1, 0, 103);
    image.setPixel(2, 0, 110);
    EXPECT_EQ(image.replaceColourWithinTolerance(kPaletteIndexFlag | 101, 2), std::int32_t(vxRGB(101, 101, 101)));
    EXPECT_EQ(image.pixel(0, 0), 101u);
    EXPECT_EQ(image.pixel(1, 0), 101u);
    EXPECT_EQ(image.pixel(2, 0), 110u);
    VXImage2 small;
    ASSERT_TRUE(small.create(1, 1, 4));
    EXPECT_EQ(small.replaceColourWithinTolerance(kPaletteIndexFlag | 16, 0), -1); // past the 16 entries
}

TEST(MaskBuilding, ZeroWhereTheKeyIsMostSignificantBitFirst) {
    VXImage2 image;
    ASSERT_TRUE(image.create(9, 2, 24));
    image.setPixel(0, 0, kMagenta);
    image.setPixel(8, 0, kMagenta);
    image.setPixel(3, 1, kMagenta);
    const auto mask = vxBuildMask(image, kMagenta);
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->bitCount(), 1);
    EXPECT_EQ(mask->width(), 9);
    EXPECT_EQ(mask->VXDIBBuffer::height(), image.VXDIBBuffer::height());
    EXPECT_EQ(mask->colourTable()[1], (VXRGBQuad{255, 255, 255, 0}));
    EXPECT_EQ(mask->row(0)[0], 0x7F);
    EXPECT_EQ(mask->row(0)[1], 0x00);
    EXPECT_EQ(mask->row(1)[0], 0xEF);
    EXPECT_EQ(mask->row(1)[1], 0x80);
}

TEST(MaskBuilding, IndexedSourcesByColourOrByIndex) {
    const VXRGBQuad t[3] = {{255, 0, 255, 0}, {1, 1, 1, 0}, {255, 0, 255, 0}};
    VXPalette p(t, 3);
    VXImage2 image;
    ASSERT_TRUE(image.create(3, 1, 8, &p));
    image.setPixel(0, 0, 0);
    image.setPixel(1, 0, 1);
    image.setPixel(2, 0, 2);
    const auto byColour = vxBuildMask(image, kMagenta);
    EXPECT_EQ(byColour->bit(0, 0), 0);
    EXPECT_EQ(byColour->bit(1, 0), 1);
    EXPECT_EQ(byColour->bit(2, 0), 0);
    const auto byIndex = vxBuildMask(image, kPaletteIndexFlag | 2);
    EXPECT_EQ(byIndex->bit(0, 0), 1);
    EXPECT_EQ(byIndex->bit(2, 0), 0);
    EXPECT_EQ(vxBuildMask(VXImage2(), 0), nullptr);
}
