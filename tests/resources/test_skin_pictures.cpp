// The dialogs' skin pictures as the program finds them among its resources, and the
// icon and cursor file layout.
#include "VXLib/VXImageFile.h"
#include "resources/skin/IconFile.h"
#include "resources/skin/SkinPictures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace morvessan;

TEST(SkinPictures, BackgroundAndOverlayAreResourcesOfTheirSizeAndDepth) {
#if defined(_WIN32)
    GTEST_SKIP() << "the pictures are resources of the filter module, not of this program";
#else
    VXImage2 background;
    ASSERT_TRUE(loadImageResource(nullptr, 3016, "IMAGE", ".png", background));
    EXPECT_EQ(background.width(), 497);
    EXPECT_EQ(background.height(), 569);
    EXPECT_EQ(background.bitCount(), 24);
    // The embedded picture is the one the drawing code makes now, not a stale one.
    const VXImage2 drawn = makeSkinBackground();
    for (int y = 0; y < 569; y += 37) {
        ASSERT_EQ(std::memcmp(background.row(y), drawn.row(y), 497 * 3), 0) << "row " << y;
    }

    VXImage2 overlay;
    ASSERT_TRUE(loadImageResource(nullptr, 3017, "IMAGE", ".png", overlay));
    EXPECT_EQ(overlay.width(), 497);
    EXPECT_EQ(overlay.height(), 569);
    ASSERT_EQ(overlay.bitCount(), 32);
    EXPECT_TRUE(overlay.hasAlpha());
    int opaqueInBand = 0;
    for (int y = 0; y < 569; ++y) {
        for (int x = 0; x < 497; ++x) {
            const std::uint8_t alpha = overlay.row(y)[4 * x + 3];
            if (y >= 569 / 2) {
                ASSERT_EQ(alpha, 0) << x << ", " << y;
            } else if (y < kSkinBandHeight && alpha == 255) {
                ++opaqueInBand;
            }
        }
    }
    EXPECT_GT(opaqueInBand, 100);
#endif
}

TEST(IconFile, DirectoryEntriesAndMaskOfASmallIconAndCursor) {
    VXImage2 image;
    ASSERT_TRUE(image.create(16, 16, 32));
    image.setHasAlpha(true);
    image.row(15)[4 * 1 + 3] = 255; // one visible pixel, bottom row, second column

    const std::vector<std::uint8_t> icon = encodeIconFile(std::span<const VXImage2>(&image, 1));
    const std::vector<std::uint8_t> expected = {
        0x00, 0x00, 0x01, 0x00, 0x01, 0x00,              // reserved, icon, one image
        0x10, 0x10, 0x00, 0x00, 0x01, 0x00, 0x20, 0x00,  // 16 x 16, no palette, 1 plane, 32 bits
        0x68, 0x04, 0x00, 0x00, 0x16, 0x00, 0x00, 0x00}; // 1128 bytes at offset 22
    ASSERT_EQ(icon.size(), 22u + 1128u);
    EXPECT_EQ(std::vector<std::uint8_t>(icon.begin(), icon.begin() + 22), expected);
    EXPECT_EQ(icon[22 + 8], 32); // bitmap height counts colour and mask rows
    // The mask's first row is the picture's bottom row: only its second pixel shows.
    const std::size_t mask = 22 + 40 + 16 * 16 * 4;
    EXPECT_EQ(icon[mask], 0xBF);
    EXPECT_EQ(icon[mask + 1], 0xFF);
    EXPECT_EQ(icon[mask + 4], 0xFF);

    const std::vector<std::uint8_t> cursor = encodeCursorFile(image, 7, 9);
    ASSERT_EQ(cursor.size(), icon.size());
    EXPECT_EQ(cursor[2], 2);                             // cursor
    EXPECT_EQ(cursor[10], 7);                            // hotspot x where icons keep planes
    EXPECT_EQ(cursor[12], 9);                            // hotspot y where icons keep bit count
    EXPECT_TRUE(encodeCursorFile(image, 16, 0).empty()); // hotspot outside the picture

    VXImage2 rgb;
    ASSERT_TRUE(rgb.create(16, 16, 24));
    EXPECT_TRUE(encodeIconFile(std::span<const VXImage2>(&rgb, 1)).empty());
    EXPECT_TRUE(encodeIconFile({}).empty());
}
