// The JPEG reader: greyscale and colour (baseline and progressive), blue-green-red
// order, existing buffers, truncated streams, CMYK refusal and damaged input.
#include "VXLib/VXJpegReader.h"

#include "tests/VXLib/ImageMaker.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace morvessan;
using namespace morvessan::testing;

namespace {

// Flat 8 × 8 blocks of distinct colours, which quality 100 keeps within a step or two.
std::uint32_t blockColour(int x, int y) {
    const int b = (x / 8) + 2 * (y / 8);
    const std::uint32_t colours[4] = {vxRGB(250, 10, 10), vxRGB(10, 240, 20), vxRGB(30, 20, 230), vxRGB(200, 200, 40)};
    return colours[b % 4];
}

void expectNear(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    EXPECT_NEAR(vxRed(actual), vxRed(expected), tolerance);
    EXPECT_NEAR(vxGreen(actual), vxGreen(expected), tolerance);
    EXPECT_NEAR(vxBlue(actual), vxBlue(expected), tolerance);
}

} // namespace

TEST(JpegReader, ColourBaselineAndProgressiveAreBlueGreenRed) {
    for (bool progressive : {false, true}) {
        const Bytes jpeg = makeJpeg(16, 16, false, blockColour, progressive);
        VXImage2 image;
        ASSERT_TRUE(vxLoadJpegMemory(jpeg.data(), jpeg.size(), image));
        ASSERT_EQ(image.bitCount(), 24);
        EXPECT_TRUE(image.isTopDown());
        EXPECT_EQ(image.width(), 16);
        EXPECT_EQ(image.height(), 16);
        for (int y = 1; y < 16; y += 8)
            for (int x = 1; x < 16; x += 8)
                expectNear(image.pixel(x + 3, y + 3), blockColour(x, y), 3);
        EXPECT_GT(image.row(4)[2], 200); // red is the third byte of a pixel
    }
}

TEST(JpegReader, GreyscaleGetsTheGreyTable) {
    const Bytes jpeg = makeJpeg(24, 8, true, [](int x, int) { return std::uint32_t(x < 8 ? 20 : x < 16 ? 128 : 240); });
    VXImage2 image;
    ASSERT_TRUE(vxLoadJpegMemory(jpeg.data(), jpeg.size(), image));
    ASSERT_EQ(image.bitCount(), 8);
    EXPECT_EQ(image.colourTable()[77], (VXRGBQuad{77, 77, 77, 0}));
    EXPECT_NEAR(int(image.pixel(3, 3)), 20, 1);
    EXPECT_NEAR(int(image.pixel(11, 3)), 128, 1);
    EXPECT_NEAR(int(image.pixel(20, 3)), 240, 1);
}

TEST(JpegReader, ExistingBuffersMustMatch) {
    const Bytes jpeg = makeJpeg(16, 16, false, blockColour);
    VXImage2 bottomUp;
    ASSERT_TRUE(bottomUp.create(16, -16, 24));
    ASSERT_TRUE(vxLoadJpegMemory(jpeg.data(), jpeg.size(), bottomUp));
    EXPECT_FALSE(bottomUp.isTopDown()); // the buffer given is kept; rows land from the top
    expectNear(bottomUp.pixel(2, 2), blockColour(2, 2), 3);

    VXImage2 wrongSize;
    ASSERT_TRUE(wrongSize.create(15, 16, 24));
    EXPECT_FALSE(vxLoadJpegMemory(jpeg.data(), jpeg.size(), wrongSize));
    EXPECT_FALSE(wrongSize.isEmpty()); // not ours to reset
    VXImage2 eightBit;                 // three bytes per pixel must never go into one-byte pixels
    ASSERT_TRUE(eightBit.create(16, 16, 8));
    EXPECT_FALSE(vxLoadJpegMemory(jpeg.data(), jpeg.size(), eightBit));
}

TEST(JpegReader, TruncatedStreamDecodesAsFarAsItGoes) {
    const Bytes jpeg = makeJpeg(64, 64, false, blockColour);
    const Bytes half(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(jpeg.size() * 2 / 3));
    VXImage2 image;
    ASSERT_TRUE(vxLoadJpegMemory(half.data(), half.size(), image));
    EXPECT_EQ(image.width(), 64);
    expectNear(image.pixel(3, 3), blockColour(3, 3), 3);
    for (std::size_t n : {std::size_t(0), std::size_t(1), std::size_t(2), std::size_t(20), std::size_t(100)}) {
        VXImage2 cut;
        EXPECT_FALSE(vxLoadJpegMemory(jpeg.data(), n, cut)) << n; // the header is incomplete
        EXPECT_TRUE(cut.isEmpty());
    }
}

TEST(JpegReader, RefusesCmykAndDamage) {
    const Bytes cmyk = makeCmykJpeg(8, 8);
    VXImage2 image;
    EXPECT_FALSE(vxLoadJpegMemory(cmyk.data(), cmyk.size(), image));
    EXPECT_TRUE(image.isEmpty());

    Bytes garbage(500);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = std::uint8_t(i * 7 + 3);
    EXPECT_FALSE(vxLoadJpegMemory(garbage.data(), garbage.size(), image));

    Bytes wrongMagic = makeJpeg(8, 8, true, [](int, int) { return 1u; });
    wrongMagic[1] = 0xD9;
    EXPECT_FALSE(vxLoadJpegMemory(wrongMagic.data(), wrongMagic.size(), image));
    EXPECT_FALSE(vxLoadJpegFile("/nonexistent/x.jpg", image));
}

TEST(JpegReader, AbsurdDimensionsAreRefusedBeforeDecoding) {
    Bytes jpeg = makeJpeg(8, 8, true, [](int, int) { return 1u; });
    // Find the frame header (FF C0) and claim 40000 × 40000.
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = 0x9C;
            jpeg[i + 6] = 0x40;
            jpeg[i + 7] = 0x9C;
            jpeg[i + 8] = 0x40;
            break;
        }
    VXImage2 image;
    EXPECT_FALSE(vxLoadJpegMemory(jpeg.data(), jpeg.size(), image));
    EXPECT_TRUE(image.isEmpty());
}
