// The bitmap reader: headers, colour tables, orientation, bit fields, run-length
// decoding with its budget, and damaged files that must be refused cleanly.
#include "VXLib/VXBitmapReader.h"
#include "VXLib/VXImageWriter.h"

#include "tests/VXLib/ImageMaker.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace morvessan;
using namespace morvessan::testing;

namespace {

Bytes greyTable(int entries) {
    Bytes t;
    for (int i = 0; i < entries; ++i) {
        const auto v = std::uint8_t(i * 255 / (entries - 1));
        t.insert(t.end(), {v, v, v, 0});
    }
    return t;
}

int readCode(const Bytes& file) {
    VXPackedBitmap out;
    return vxReadBitmapMemory(file.data(), file.size(), out);
}

VXImage2 load(const Bytes& file) {
    VXImage2 image;
    EXPECT_TRUE(vxLoadBitmapMemory(file.data(), file.size(), image));
    return image;
}

} // namespace

TEST(BitmapReader, TwentyFourBitBottomUpEndsTopDown) {
    BmpRecipe s;
    s.width = 2;
    s.height = 2;
    s.bitCount = 24;
    // bottom row first: (blue, green, red) triples, rows padded to 8 bytes
    s.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    const VXImage2 image = load(makeBmp(s));
    EXPECT_EQ(image.bitCount(), 24);
    EXPECT_TRUE(image.isTopDown());
    EXPECT_EQ(image.height(), 2);
    EXPECT_EQ(image.pixel(0, 0), vxRGB(9, 8, 7));
    EXPECT_EQ(image.pixel(1, 1), vxRGB(6, 5, 4));
}

TEST(BitmapReader, TopDownWithoutImageSizeStaysTopDown) {
    BmpRecipe s;
    s.width = 1;
    s.height = -2;
    s.bitCount = 32;
    s.pixels = {1, 2, 3, 4, 5, 6, 7, 8};
    const VXImage2 image = load(makeBmp(s));
    EXPECT_EQ(image.height(), 2);
    EXPECT_EQ(image.pixel(0, 0), vxRGB(3, 2, 1) | 0x04000000u);
    EXPECT_EQ(image.pixel(0, 1), vxRGB(7, 6, 5) | 0x08000000u);
    EXPECT_FALSE(image.hasAlpha());
}

TEST(BitmapReader, IndexedDepthsKeepTheirBitsAndTables) {
    BmpRecipe one;
    one.width = 9;
    one.height = 1;
    one.bitCount = 1;
    one.table = {0, 0, 0, 0, 255, 255, 255, 0};
    one.pixels = {0xA5, 0x80, 0, 0};
    VXImage2 image = load(makeBmp(one));
    EXPECT_EQ(image.bitCount(), 1);
    EXPECT_EQ(image.pixel(0, 0), 1u);
    EXPECT_EQ(image.pixel(1, 0), 0u);
    EXPECT_EQ(image.pixel(8, 0), 1u);
    EXPECT_EQ(image.pixelColour(0, 0), 0xFFFFFFu);

    BmpRecipe four;
    four.width = 3;
    four.height = 2;
    four.bitCount = 4;
    four.table = greyTable(16);
    four.pixels = {0x12, 0x30, 0, 0, 0xAB, 0xC0, 0, 0};
    image = load(makeBmp(four));
    EXPECT_EQ(image.bitCount(), 4);
    EXPECT_EQ(image.pixel(0, 0), 0xAu);
    EXPECT_EQ(image.pixel(2, 0), 0xCu);
    EXPECT_EQ(image.pixel(1, 1), 2u);
    EXPECT_EQ(image.pixelColour(2, 1), vxRGB(51, 51, 51));

    BmpRecipe eight;
    eight.width = 3;
    eight.height = 1;
    eight.bitCount = 8;
    eight.table = greyTable(256);
    eight.pixels = {7, 200, 9, 0};
    image = load(makeBmp(eight));
    EXPECT_EQ(image.bitCount(), 8);
    EXPECT_EQ(image.pixel(1, 0), 200u);
    EXPECT_EQ(image.colourTableEntries(), 256);
}

TEST(BitmapReader, ColoursUsedSixteenGivesAFullTableWithBlackRest) {
    BmpRecipe s;
    s.width = 1;
    s.height = 1;
    s.bitCount = 8;
    s.clrUsed = 16;
    for (int i = 0; i < 16; ++i)
        s.table.insert(s.table.end(), {std::uint8_t(i), 10, 20, 0});
    s.pixels = {15, 0, 0, 0};
    const VXImage2 image = load(makeBmp(s));
    ASSERT_EQ(image.colourTableEntries(), 256);
    EXPECT_EQ(image.header()->clrUsed, 0u);
    EXPECT_EQ(image.colourTable()[15], (VXRGBQuad{15, 10, 20, 0}));
    for (int i = 16; i < 256; ++i)
        EXPECT_EQ(image.colourTable()[i], (VXRGBQuad{0, 0, 0, 0}));
    EXPECT_EQ(image.pixelColour(0, 0), vxRGB(20, 10, 15));
}

TEST(BitmapReader, ColoursUsedAboveTheDepthIsClamped) {
    BmpRecipe s;
    s.width = 1;
    s.height = 1;
    s.bitCount = 1;
    s.clrUsed = 1000;
    s.table = {0, 0, 0, 0, 9, 9, 9, 0};
    s.pixels = {0x80, 0, 0, 0};
    const VXImage2 image = load(makeBmp(s));
    EXPECT_EQ(image.pixelColour(0, 0), vxRGB(9, 9, 9));
}

TEST(BitmapReader, CoreHeaderWithThreeByteTable) {
    BmpRecipe s;
    s.headerSize = 12;
    s.width = 2;
    s.height = 1;
    s.bitCount = 8;
    for (int i = 0; i < 256; ++i)
        s.table.insert(s.table.end(), {std::uint8_t(i), std::uint8_t(255 - i), 1});
    s.pixels = {3, 250, 0, 0};
    const VXImage2 image = load(makeBmp(s));
    EXPECT_EQ(image.header()->size, 40u);
    EXPECT_EQ(image.colourTable()[3], (VXRGBQuad{3, 252, 1, 0}));
    EXPECT_EQ(image.pixel(1, 0), 250u);
}

TEST(BitmapReader, BitFieldsStandardLayoutsLoadOthersAreRefused) {
    BmpRecipe s;
    s.width = 2;
    s.height = 1;
    s.bitCount = 16;
    s.compression = 3;
    s.masks = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0}; // 5-6-5
    s.pixels = {0xFF, 0xFF, 0x20, 0x00, 0, 0, 0, 0};               // white; green step 1
    VXImage2 image = load(makeBmp(s));
    EXPECT_EQ(image.bitCount(), 24);
    EXPECT_EQ(image.pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(image.pixel(1, 0), vxRGB(0, 4, 0));

    s.masks = {0x00, 0x7C, 0, 0, 0xE0, 0x03, 0, 0, 0x1F, 0, 0, 0}; // 5-5-5
    s.pixels = {0x00, 0x7C, 0x1F, 0x00, 0, 0, 0, 0};               // red; blue
    image = load(makeBmp(s));
    EXPECT_EQ(image.pixel(0, 0), vxRGB(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), vxRGB(0, 0, 255));

    BmpRecipe wide;
    wide.width = 1;
    wide.height = 1;
    wide.bitCount = 32;
    wide.compression = 3;
    wide.masks = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};
    wide.pixels = {1, 2, 3, 0};
    image = load(makeBmp(wide));
    EXPECT_EQ(image.bitCount(), 32);
    EXPECT_EQ(image.header()->compression, 0u);
    EXPECT_EQ(image.pixel(0, 0), vxRGB(3, 2, 1));

    wide.masks = {0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0}; // red in the low byte
    EXPECT_EQ(readCode(makeBmp(wide)), kBitmapUnusable);
}

TEST(BitmapReader, RunLengthEightBit) {
    BmpRecipe s;
    s.width = 4;
    s.height = 2;
    s.bitCount = 8;
    s.compression = 1;
    s.table = greyTable(256);
    s.pixels = {3, 5, 1, 7, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1};
    s.sizeImage = std::uint32_t(s.pixels.size());
    const VXImage2 image = load(makeBmp(s));
    EXPECT_EQ(image.header()->compression, 0u);
    EXPECT_EQ(image.headerBlockSize(), 1064u);
    const std::uint32_t top[4] = {1, 2, 3, 0}, bottom[4] = {5, 5, 5, 7};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(image.pixel(x, 0), top[x]);
        EXPECT_EQ(image.pixel(x, 1), bottom[x]);
    }
}

TEST(BitmapReader, RunLongerThanTheBudgetIsSkipped) {
    BmpRecipe s;
    s.width = 8;
    s.height = 1;
    s.bitCount = 8;
    s.compression = 1;
    s.table = greyTable(256);
    s.pixels = {6, 9, 3, 8, 2, 7, 0, 1};
    s.sizeImage = std::uint32_t(s.pixels.size());
    const VXImage2 image = load(makeBmp(s));
    const std::uint32_t expected[8] = {9, 9, 9, 9, 9, 9, 7, 7};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(image.pixel(x, 0), expected[x]) << x;
}

TEST(BitmapReader, RunLengthDeltaMovesRightAndUp) {
    BmpRecipe s;
    s.width = 4;
    s.height = 3;
    s.bitCount = 8;
    s.compression = 1;
    s.table = greyTable(256);
    s.pixels = {0, 2, 2, 1, 1, 5, 0, 1};
    s.sizeImage = std::uint32_t(s.pixels.size());
    const VXImage2 image = load(makeBmp(s));
    EXPECT_EQ(image.pixel(2, 1), 5u); // stored row 1 is the middle row
    EXPECT_EQ(image.pixel(2, 2), 0u);
}

TEST(BitmapReader, RunLengthFourBitCarriesTheNibbleAcrossRuns) {
    BmpRecipe s;
    s.width = 5;
    s.height = 1;
    s.bitCount = 4;
    s.compression = 2;
    s.table = greyTable(16);
    s.pixels = {3, 0x12, 0, 3, 0x34, 0x50, 0, 1};
    s.sizeImage = std::uint32_t(s.pixels.size());
    const VXImage2 image = load(makeBmp(s));
    EXPECT_EQ(image.bitCount(), 4);
    EXPECT_EQ(image.headerBlockSize(), 104u);
    EXPECT_EQ(image.row(0)[0], 0x12);
    EXPECT_EQ(image.row(0)[1], 0x13);
    EXPECT_EQ(image.row(0)[2], 0x45);
}

TEST(BitmapReader, RunLengthOverrunsAreCut) {
    std::vector<std::uint8_t> pixels(8, 0xEE);
    // literal run longer than the input; runs and deltas far past the buffer
    const Bytes shortLiteral = {0, 200, 1, 2, 3};
    vxDecodeRunLength(shortLiteral.data(), shortLiteral.size(), pixels.data(), 4, 2, false);
    EXPECT_EQ(pixels[0], 1);
    EXPECT_EQ(pixels[2], 3);
    EXPECT_EQ(pixels[3], 0xEE);
    const Bytes far = {0, 2, 255, 255, 4, 1, 0, 0, 0, 0, 0, 0, 4, 2, 255, 3};
    std::vector<std::uint8_t> guarded(8 + 16, 0xEE);
    vxDecodeRunLength(far.data(), far.size(), guarded.data(), 4, 2, false);
    for (std::size_t i = 8; i < guarded.size(); ++i)
        ASSERT_EQ(guarded[i], 0xEE) << "wrote past the buffer at " << i;
    EXPECT_EQ(guarded[0], 0xEE);   // moved away before writing
    const Bytes wideRow = {20, 6}; // a run wider than the row stops at the row end
    std::vector<std::uint8_t> two(8 + 4, 0);
    vxDecodeRunLength(wideRow.data(), wideRow.size(), two.data(), 4, 2, false);
    EXPECT_EQ(two[3], 0); // 20 > budget of 8: skipped altogether
    const Bytes fits = {6, 6};
    vxDecodeRunLength(fits.data(), fits.size(), two.data(), 4, 2, false);
    EXPECT_EQ(two[3], 6);
    EXPECT_EQ(two[4], 0); // cut at the row end, not wrapped
}

TEST(BitmapReader, RefusesDamagedAndUnsupportedFiles) {
    BmpRecipe good;
    good.width = 2;
    good.height = 2;
    good.bitCount = 24;
    good.pixels = Bytes(16, 1);
    const Bytes file = makeBmp(good);
    ASSERT_EQ(readCode(file), kBitmapRead);
    for (std::size_t n = 0; n < file.size(); ++n)
        EXPECT_EQ(readCode(Bytes(file.begin(), file.begin() + n)), kBitmapUnusable) << "truncated at " << n;

    Bytes magic = file;
    magic[0] = 'M';
    EXPECT_EQ(readCode(magic), kBitmapUnusable);

    // The longer header forms are read; bit fields in them only in the standard layouts.
    BmpRecipe v4 = good;
    v4.headerSize = 108;
    EXPECT_EQ(readCode(makeBmp(v4)), kBitmapRead);
    BmpRecipe v4Fields;
    v4Fields.headerSize = 108;
    v4Fields.width = 1;
    v4Fields.height = 1;
    v4Fields.bitCount = 32;
    v4Fields.compression = 3;
    v4Fields.pixels = Bytes(4, 0);
    EXPECT_EQ(readCode(makeBmp(v4Fields)), kBitmapUnusable); // masks of zero

    BmpRecipe shortData = good;
    shortData.sizeImage = 8; // rows need 16
    EXPECT_EQ(readCode(makeBmp(shortData)), kBitmapUnusable);

    BmpRecipe huge = good;
    huge.width = 30000;
    huge.height = 30000; // 2.7 GB of pixels
    EXPECT_EQ(readCode(makeBmp(huge)), kBitmapUnusable);
    huge.width = 30001;
    huge.height = 1;
    EXPECT_EQ(readCode(makeBmp(huge)), kBitmapUnusable);
    huge.width = -5;
    EXPECT_EQ(readCode(makeBmp(huge)), kBitmapUnusable);

    BmpRecipe odd = good;
    odd.bitCount = 12;
    EXPECT_EQ(readCode(makeBmp(odd)), kBitmapUnusable);
    odd.bitCount = 24;
    odd.compression = 1; // run-length 8 on 24 bits
    EXPECT_EQ(readCode(makeBmp(odd)), kBitmapUnusable);
    odd.compression = 4; // embedded JPEG
    EXPECT_EQ(readCode(makeBmp(odd)), kBitmapUnusable);

    BmpRecipe rle;
    rle.width = 2;
    rle.height = 2;
    rle.compression = 1;
    rle.table = greyTable(256);
    rle.pixels = {2, 1, 0, 1};
    rle.sizeImage = 100; // more than the file holds
    EXPECT_EQ(readCode(makeBmp(rle)), kBitmapUnusable);

    VXPackedBitmap out;
    EXPECT_EQ(vxReadBitmapMemory(nullptr, 0, out), kBitmapUnusable);
    VXImage2 image;
    ASSERT_TRUE(image.create(2, 2, 8));
    EXPECT_FALSE(vxLoadBitmapMemory(magic.data(), magic.size(), image));
    EXPECT_TRUE(image.isEmpty());
}

TEST(BitmapWriter, TransparentBitmapsCarryAnAlphaMaskAndReadBackWhole) {
    VXImage2 image;
    ASSERT_TRUE(image.create(3, 2, 32));
    image.setHasAlpha(true);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            std::uint8_t* p = image.row(y) + 4 * x;
            p[0] = std::uint8_t(10 * x);
            p[1] = std::uint8_t(20 * y);
            p[2] = 200;
            p[3] = std::uint8_t(x * 100 + y); // alpha
        }
    const Bytes file = vxEncodeBitmap(image, true);
    ASSERT_EQ(file.size(), 14u + 108u + 3u * 2u * 4u);
    const auto le32At = [&](std::size_t at) {
        return std::uint32_t(file[at]) | std::uint32_t(file[at + 1]) << 8 | std::uint32_t(file[at + 2]) << 16 |
               std::uint32_t(file[at + 3]) << 24;
    };
    EXPECT_EQ(le32At(2), file.size());
    EXPECT_EQ(le32At(10), 14u + 108u); // pixels right after the header
    EXPECT_EQ(le32At(14), 108u);
    EXPECT_EQ(le32At(14 + 16), 3u); // bit fields
    EXPECT_EQ(le32At(14 + 40), 0x00FF0000u);
    EXPECT_EQ(le32At(14 + 44), 0x0000FF00u);
    EXPECT_EQ(le32At(14 + 48), 0x000000FFu);
    EXPECT_EQ(le32At(14 + 52), 0xFF000000u);
    VXImage2 back;
    ASSERT_TRUE(vxLoadBitmapMemory(file.data(), file.size(), back));
    ASSERT_EQ(back.bitCount(), 32);
    for (int y = 0; y < 2; ++y)
        EXPECT_EQ(std::memcmp(back.row(y), image.row(y), 12), 0) << y;
    // Without alpha the classic header stays.
    image.setHasAlpha(false);
    const Bytes plain = vxEncodeBitmap(image, false);
    EXPECT_EQ(plain.size(), 14u + 40u + 24u);
    EXPECT_EQ(plain[14], 40);
}
