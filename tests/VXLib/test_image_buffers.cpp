// Image buffers: strides, orientation, addressing, the packed bottom-up form,
// flipping, conversion with nearest-neighbour scaling, shifts and attachment.
#include "VXLib/VXImage2.h"
#include "VXLib/VXMaskDIBBuffer.h"
#include "VXLib/VXRowTransfer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace morvessan;

TEST(DIBGeometry, StridesPadToFourBytes) {
    EXPECT_EQ(vxStride(9, 1), 4u);
    EXPECT_EQ(vxStride(1, 24), 4u);
    EXPECT_EQ(vxStride(5, 24), 16u);
    EXPECT_EQ(vxStride(33, 1), 8u);
    EXPECT_EQ(vxStride(3, 4), 4u);
    EXPECT_EQ(vxStride(9, 2), 4u);
    EXPECT_EQ(vxStride(17, 2), 8u);
    EXPECT_EQ(vxStride(3, 32), 12u);
    VXDIBBuffer b;
    ASSERT_TRUE(b.create(5, 3, 24));
    EXPECT_EQ(b.stride(), 16u);
    EXPECT_EQ(b.imageSize(), 48u);
    EXPECT_EQ(b.headerBlockSize(), 40u);
    ASSERT_TRUE(b.create(5, 3, 8));
    EXPECT_EQ(b.headerBlockSize(), 40u + 1024u);
    ASSERT_TRUE(b.create(5, 3, 4));
    EXPECT_EQ(b.headerBlockSize(), 40u + 64u);
}

TEST(DIBGeometry, CreateFillsHeaderAndTables) {
    VXDIBBuffer one;
    ASSERT_TRUE(one.create(9, 2, 1));
    const VXBitmapInfoHeader& h = *one.header();
    EXPECT_EQ(h.size, 40u);
    EXPECT_EQ(h.planes, 1);
    EXPECT_EQ(h.bitCount, 1);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.sizeImage, 0u);
    EXPECT_EQ(h.clrUsed, 0u);
    EXPECT_EQ(one.colourTable()[0], (VXRGBQuad{0, 0, 0, 0}));
    EXPECT_EQ(one.colourTable()[1], (VXRGBQuad{255, 255, 255, 0}));
    EXPECT_TRUE(one.isPacked());
    EXPECT_TRUE(one.ownsMemory());
    EXPECT_EQ(one.bits(), reinterpret_cast<std::uint8_t*>(one.header()) + 48);

    const VXPalette grey = VXPalette::greyPalette();
    VXDIBBuffer eight;
    ASSERT_TRUE(eight.create(2, 2, 8, &grey));
    EXPECT_EQ(eight.colourTable()[200], (VXRGBQuad{200, 200, 200, 0}));
    // A short palette fills the front of the table; the rest stays black.
    const VXRGBQuad two[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
    VXPalette shortPalette(two, 2);
    ASSERT_TRUE(eight.create(2, 2, 8, &shortPalette));
    EXPECT_EQ(eight.colourTable()[1], (VXRGBQuad{4, 5, 6, 0}));
    EXPECT_EQ(eight.colourTable()[2], (VXRGBQuad{0, 0, 0, 0}));
}

TEST(DIBGeometry, RefusesBadGeometryAndReportsEmpty) {
    VXDIBBuffer b;
    EXPECT_EQ(b.width(), -1);
    EXPECT_EQ(b.height(), -1);
    EXPECT_EQ(b.bitCount(), -1);
    EXPECT_EQ(b.pixelAddress(0, 0), nullptr);
    EXPECT_FALSE(b.create(0, 5, 24));
    EXPECT_FALSE(b.create(5, 0, 24));
    EXPECT_FALSE(b.create(5, 5, 12));
    EXPECT_FALSE(b.create(30001, 1, 8));
    EXPECT_FALSE(b.create(30000, 30000, 32)); // 3.6 GB of pixels
    EXPECT_TRUE(b.isEmpty());
    VXImage2 image;
    EXPECT_EQ(image.width(), -1);
    EXPECT_EQ(image.height(), -1);
    EXPECT_FALSE(image.create(4, std::numeric_limits<int>::min(), 8));
}

TEST(DIBAddressing, RowsCountFromTheTopInEitherOrder) {
    VXDIBBuffer bottomUp;
    ASSERT_TRUE(bottomUp.create(2, 3, 8));
    EXPECT_FALSE(bottomUp.isTopDown());
    EXPECT_EQ(bottomUp.pixelAddress(0, 0), bottomUp.bits() + 2 * bottomUp.stride());
    EXPECT_EQ(bottomUp.pixelAddress(1, 2), bottomUp.bits() + 1);

    VXImage2 topDown;
    ASSERT_TRUE(topDown.create(2, 3, 8));
    EXPECT_TRUE(topDown.isTopDown());
    EXPECT_EQ(topDown.height(), 3);
    EXPECT_EQ(topDown.VXDIBBuffer::height(), -3);
    EXPECT_EQ(topDown.pixelAddress(0, 0), topDown.bits());
    EXPECT_EQ(topDown.pixelAddress(2, 0), nullptr);
    EXPECT_EQ(topDown.pixelAddress(0, 3), nullptr);
    EXPECT_EQ(topDown.pixelAddress(-1, 0), nullptr);

    VXImage2 bottom;
    ASSERT_TRUE(bottom.create(2, -3, 8));
    EXPECT_FALSE(bottom.isTopDown());
    EXPECT_EQ(bottom.height(), -3);
}

TEST(DIBAddressing, SubBytePixelPositions) {
    VXDIBBuffer b;
    ASSERT_TRUE(b.create(9, -1, 1));
    int shift = -1;
    EXPECT_EQ(b.pixelAddress(8, 0, &shift), b.bits() + 1);
    EXPECT_EQ(shift, 7);
    b.pixelAddress(2, 0, &shift);
    EXPECT_EQ(shift, 5);
    b.setPixel(0, 0, 1);
    b.setPixel(8, 0, 1);
    EXPECT_EQ(b.bits()[0], 0x80);
    EXPECT_EQ(b.bits()[1], 0x80);

    ASSERT_TRUE(b.create(5, -1, 2));
    b.pixelAddress(1, 0, &shift);
    EXPECT_EQ(shift, 4);
    b.setPixel(1, 0, 3);
    b.setPixel(4, 0, 2);
    EXPECT_EQ(b.bits()[0], 0x30);
    EXPECT_EQ(b.bits()[1], 0x80);

    ASSERT_TRUE(b.create(3, -1, 4));
    b.setPixel(0, 0, 0xA);
    b.setPixel(1, 0, 0x5);
    b.setPixel(2, 0, 0xF);
    EXPECT_EQ(b.bits()[0], 0xA5);
    EXPECT_EQ(b.bits()[1], 0xF0);
    EXPECT_EQ(b.pixel(1, 0), 5u);
}

TEST(DIBAddressing, TwentyFourAndThirtyTwoBitPixelsAreBlueGreenRed) {
    VXImage2 image;
    ASSERT_TRUE(image.create(2, 1, 24));
    image.setPixel(1, 0, vxRGB(10, 20, 30));
    EXPECT_EQ(image.bits()[3], 30);
    EXPECT_EQ(image.bits()[4], 20);
    EXPECT_EQ(image.bits()[5], 10);
    EXPECT_EQ(image.pixel(1, 0), vxRGB(10, 20, 30));
    ASSERT_TRUE(image.create(1, 1, 32));
    image.setPixel(0, 0, vxRGB(1, 2, 3) | 0x80000000u);
    EXPECT_EQ(image.bits()[3], 0x80);
    EXPECT_EQ(image.pixelColour(0, 0), vxRGB(1, 2, 3));
}

TEST(DIBCopy, CopyPixelsNeedsTheSameGeometry) {
    VXImage2 a, b, c;
    ASSERT_TRUE(a.create(3, 2, 24));
    ASSERT_TRUE(b.create(3, 2, 24));
    ASSERT_TRUE(c.create(3, -2, 24));
    a.setPixel(2, 1, 0x123456);
    EXPECT_TRUE(b.copyPixels(a));
    EXPECT_EQ(b.pixel(2, 1), 0x123456u);
    EXPECT_FALSE(c.copyPixels(a));
    EXPECT_EQ(c.pixel(2, 1), 0u);
}

TEST(DIBCopy, AttachValidatesAndCopies) {
    VXImage2 source;
    ASSERT_TRUE(source.create(3, 2, 8, nullptr));
    source.setPixel(1, 1, 77);
    const std::size_t size = source.headerBlockSize() + source.imageSize();
    const auto* block = reinterpret_cast<const std::uint8_t*>(source.header());

    VXDIBBuffer copy;
    ASSERT_TRUE(copy.attachCopy(block, size));
    EXPECT_NE(copy.bits(), source.bits());
    EXPECT_EQ(copy.pixel(1, 1), 77u);
    EXPECT_FALSE(copy.attachCopy(block, size - 1));
    EXPECT_TRUE(copy.isEmpty());

    VXAutoArrayPtr<std::uint8_t> owned(new std::uint8_t[size]);
    std::memcpy(owned.get(), block, size);
    ASSERT_TRUE(copy.attachOwn(std::move(owned), size));
    EXPECT_EQ(copy.pixel(1, 1), 77u);

    std::vector<std::uint8_t> bad(block, block + size);
    bad[14] = 12; // bit count 12
    EXPECT_FALSE(copy.attachCopy(bad.data(), bad.size()));

    VXDIBBuffer external;
    ASSERT_TRUE(external.attachExternal(source.header(), source.bits()));
    EXPECT_FALSE(external.ownsMemory());
    external.setPixel(0, 0, 9);
    EXPECT_EQ(source.pixel(0, 0), 9u);
}

TEST(DIBCopy, PackedFormIsBottomUpWithPositiveHeight) {
    VXImage2 image;
    ASSERT_TRUE(image.create(1, 3, 8)); // top-down
    image.setPixel(0, 0, 1);
    image.setPixel(0, 1, 2);
    image.setPixel(0, 2, 3);
    const std::vector<std::uint8_t> packed = image.toPackedBottomUp();
    ASSERT_EQ(packed.size(), 40u + 1024u + 12u);
    VXBitmapInfoHeader h;
    std::memcpy(&h, packed.data(), sizeof h);
    EXPECT_EQ(h.height, 3);
    EXPECT_EQ(h.sizeImage, 12u);
    EXPECT_EQ(packed[1064], 3); // first stored row: the bottom
    EXPECT_EQ(packed[1068], 2);
    EXPECT_EQ(packed[1072], 1);
}

TEST(ImageOrientation, FlipKeepsThePictureAndTheMiddleRow) {
    VXImage2 image;
    ASSERT_TRUE(image.create(2, 3, 8));
    for (int y = 0; y < 3; ++y)
        image.setPixel(1, y, std::uint32_t(10 + y));
    const std::uint8_t middle = image.bits()[image.stride() + 1];
    image.flipOrientation();
    EXPECT_EQ(image.height(), -3);
    EXPECT_FALSE(image.isTopDown());
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(image.pixel(1, y), std::uint32_t(10 + y));
    EXPECT_EQ(image.bits()[image.stride() + 1], middle);
    EXPECT_EQ(image.bits()[1], 12); // stored row 0 is now the bottom
}

TEST(ImageConvert, NearestNeighbourColumnsAndRows) {
    EXPECT_EQ(vxNearestIndices(3, 7), (std::vector<int>{0, 0, 0, 1, 1, 2, 2}));
    EXPECT_EQ(vxNearestIndices(4, 2), (std::vector<int>{0, 2}));

    const VXPalette grey = VXPalette::greyPalette();
    VXImage2 image;
    ASSERT_TRUE(image.create(3, 2, 8, &grey));
    for (int x = 0; x < 3; ++x) {
        image.setPixel(x, 0, std::uint32_t(x));
        image.setPixel(x, 1, std::uint32_t(100 + x));
    }
    image.setTransparentColour(5);
    ASSERT_TRUE(image.convert(7, 4, 24));
    EXPECT_EQ(image.bitCount(), 24);
    EXPECT_EQ(image.height(), -4); // bottom-up result
    EXPECT_EQ(image.transparentColour(), std::int32_t(kMagenta));
    const int expectedColumns[7] = {0, 0, 0, 1, 1, 2, 2};
    for (int x = 0; x < 7; ++x) {
        const std::uint8_t v = std::uint8_t(expectedColumns[x]);
        EXPECT_EQ(image.pixel(x, 0), vxRGB(v, v, v));
        EXPECT_EQ(image.pixel(x, 1), vxRGB(v, v, v));
        const std::uint8_t w = std::uint8_t(100 + expectedColumns[x]);
        EXPECT_EQ(image.pixel(x, 2), vxRGB(w, w, w));
        EXPECT_EQ(image.pixel(x, 3), vxRGB(w, w, w));
    }
}

TEST(ImageConvert, AlphaIsKeptOnlyWhenTheImageHasIt) {
    VXImage2 image;
    ASSERT_TRUE(image.create(1, 1, 32));
    image.setPixel(0, 0, 0x80010203u);
    VXImage2 copy;
    ASSERT_TRUE(copy.convert(2, 1, 32, image));
    EXPECT_EQ(copy.pixel(1, 0), 0x00010203u);
    image.setHasAlpha(true);
    ASSERT_TRUE(copy.convert(2, 1, 32, image));
    EXPECT_EQ(copy.pixel(1, 0), 0x80010203u);
    EXPECT_TRUE(copy.hasAlpha());
    VXImage2 sixteen;
    ASSERT_TRUE(sixteen.create(1, 1, 16));
    EXPECT_FALSE(copy.convert(1, 1, 24, sixteen));
    EXPECT_EQ(copy.bitCount(), 32); // unchanged after a refusal
}

TEST(ImageShift, RowsAndColumnsMoveAndLeaveTheRestAlone) {
    VXImage2 image;
    ASSERT_TRUE(image.create(3, 3, 8));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, std::uint32_t(10 * y + x));
    image.shiftRows(1);
    EXPECT_EQ(image.pixel(0, 0), 0u);  // left behind
    EXPECT_EQ(image.pixel(0, 1), 0u);  // old row 0
    EXPECT_EQ(image.pixel(2, 2), 12u); // old row 1
    image.shiftRows(-2);
    EXPECT_EQ(image.pixel(1, 0), 11u);
    image.shiftRows(3); // not smaller than the height: nothing
    EXPECT_EQ(image.pixel(1, 0), 11u);
    image.shiftColumns(2);
    EXPECT_EQ(image.pixel(2, 0), 10u);
    EXPECT_EQ(image.pixel(0, 0), 10u); // left behind
    image.shiftColumns(-1);
    EXPECT_EQ(image.pixel(1, 0), 10u);
}

TEST(ImageLifecycle, ResetAndMoveCarryEverything) {
    VXImage2 image;
    ASSERT_TRUE(image.create(4, 4, 32));
    image.setTransparentColour(0x00FF00);
    image.setHasAlpha(true);
    VXImage2 moved(std::move(image));
    EXPECT_TRUE(image.isEmpty());
    EXPECT_EQ(image.transparentColour(), -1);
    EXPECT_EQ(moved.width(), 4);
    EXPECT_TRUE(moved.hasAlpha());
    EXPECT_TRUE(moved.hasTransparentColour());
    moved.reset();
    EXPECT_TRUE(moved.isEmpty());
    EXPECT_FALSE(moved.hasAlpha());
    EXPECT_FALSE(moved.hasTransparentColour());
}
