// The texture library: which files of the folder become items and in what order,
// progress and cancel, selection by path, stored paths, thumbnails and texture maps.
#include "VXLib/VXTextureLibrary.h"
#include "VXLib/VXTextureMap.h"
#include "VXLib/VXUTIL/VXPath.h"

#include "tests/VXLib/ImageMaker.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace morvessan;
using namespace morvessan::testing;

namespace {

Bytes greyPng(int width, int height, unsigned base) {
    PngRecipe s;
    s.width = width;
    s.height = height;
    return makePng(s, [base](int x, int y, int) { return (base + unsigned(x + 10 * y)) & 0xFF; });
}

// An 8-bit bitmap whose table is far from grey: index i is colour (255 − i, i, 7).
Bytes colourfulBmp(int width, int height) {
    BmpRecipe s;
    s.width = width;
    s.height = height; // bottom-up
    s.bitCount = 8;
    for (int i = 0; i < 256; ++i)
        s.table.insert(s.table.end(), {7, std::uint8_t(i), std::uint8_t(255 - i), 0});
    const int stride = (width + 3) / 4 * 4;
    s.pixels.assign(std::size_t(stride) * height, 0);
    for (int stored = 0; stored < height; ++stored)
        for (int x = 0; x < width; ++x)
            s.pixels[std::size_t(stored) * stride + x] = std::uint8_t(100 * (height - 1 - stored) + x);
    return makeBmp(s);
}

Bytes colourBmp(const std::vector<std::uint32_t>& colours) {
    BmpRecipe s;
    s.width = int(colours.size());
    s.height = 1;
    s.bitCount = 24;
    for (std::uint32_t c : colours)
        s.pixels.insert(s.pixels.end(), {vxBlue(c), vxGreen(c), vxRed(c)});
    while (s.pixels.size() % 4)
        s.pixels.push_back(0);
    return makeBmp(s);
}

} // namespace

TEST(TextureScan, OnlyEightBitPicturesBecomeItemsInNameOrder) {
    ScratchFolder folder;
    folder.write("Stone.png", greyPng(4, 4, 0));
    folder.write("Bark.bmp", colourfulBmp(3, 2));
    folder.write("Photo.jpg", makeJpeg(8, 8, false, [](int, int) { return vxRGB(1, 2, 3); }));
    folder.write("readme.txt", Bytes{'x'});
    std::filesystem::create_directory(folder.path() / "sub");
    std::vector<std::pair<int, int>> calls;
    const auto items = scanTextureFolder(folder.path().string(), [&](int done, int total) {
        calls.emplace_back(done, total);
        return true;
    });
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].caption, "Bark");
    EXPECT_EQ(items[1].caption, "Stone");
    EXPECT_EQ(items[1].path, (folder.path() / "Stone.png").string());
    EXPECT_EQ(items[0].picture.bitCount(), 8);
    EXPECT_TRUE(items[0].picture.isTopDown());
    const std::vector<std::pair<int, int>> expected = {{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}};
    EXPECT_EQ(calls, expected);
}

TEST(TextureScan, CancelKeepsWhatWasLoadedAndMissingFoldersAreEmpty) {
    ScratchFolder folder;
    folder.write("a.png", greyPng(2, 2, 0));
    folder.write("b.png", greyPng(2, 2, 1));
    folder.write("c.png", greyPng(2, 2, 2));
    const auto items =
        scanTextureFolder(folder.path().string() + kPathSeparator, [](int done, int) { return done < 2; });
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1].caption, "b");
    EXPECT_EQ(items[1].path, (folder.path() / "b.png").string()); // no doubled separator
    EXPECT_TRUE(scanTextureFolder((folder.path() / "none").string()).empty());
}

TEST(TextureList, SelectionByPathIgnoresCaseButNotFolders) {
    ScratchFolder folder;
    folder.write("Stone.png", greyPng(2, 2, 0));
    folder.write("Wood.png", greyPng(2, 2, 0));
    VXTextureList list;
    list.fill(folder.path().string());
    ASSERT_EQ(list.items().size(), 2u);
    EXPECT_EQ(list.selectedPath(), "");
    std::string upper = (folder.path() / "WOOD.PNG").string();
    EXPECT_TRUE(list.selectPath(upper));
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_EQ(list.selectedPath(), (folder.path() / "Wood.png").string());
    EXPECT_FALSE(list.selectPath((folder.path() / "other" / "Wood.png").string()));
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(list.enableTexture(), (folder.path() / "Stone.png").string());
    EXPECT_EQ(list.selectedIndex(), 0);
    list.select(7);
    EXPECT_EQ(list.selectedIndex(), -1);
    VXTextureList none;
    EXPECT_EQ(none.enableTexture(), "");
}

TEST(TextureList, StoredPathsAreCutTo259Characters) {
    char field[260];
    std::memset(field, 'x', sizeof field);
    storeTexturePath(field, sizeof field, std::string(300, 'a'));
    EXPECT_EQ(std::string(field), std::string(259, 'a'));
    storeTexturePath(field, sizeof field, std::string(259, 'b'));
    EXPECT_EQ(std::string(field), std::string(259, 'b'));
    storeTexturePath(field, sizeof field, "C:\\t\\x.png");
    EXPECT_EQ(std::string(field), "C:\\t\\x.png");
    EXPECT_EQ(field[200], 0);
}

TEST(TextureList, ThumbnailsAreStretchedTwentyFourBitBottomUp) {
    ScratchFolder folder;
    folder.write("t.png", greyPng(2, 1, 50));
    VXTextureList list;
    list.fill(folder.path().string());
    ASSERT_EQ(list.items().size(), 1u);
    const VXImage2 thumbnail = makeTextureThumbnail(list.items()[0].picture, 4, 3);
    ASSERT_EQ(thumbnail.bitCount(), 24);
    EXPECT_FALSE(thumbnail.isTopDown());
    EXPECT_EQ(thumbnail.pixel(1, 2), vxRGB(50, 50, 50));
    EXPECT_EQ(thumbnail.pixel(2, 0), vxRGB(51, 51, 51));
}

TEST(TextureMap, EightBitPicturesGiveTheirIndicesTopDown) {
    ScratchFolder folder;
    folder.write("bark.bmp", colourfulBmp(3, 2));
    const VXImage2 map = prepareTextureMap(folder.file("bark.bmp"));
    ASSERT_EQ(map.bitCount(), 8);
    EXPECT_TRUE(map.isTopDown());
    EXPECT_EQ(map.width(), 3);
    EXPECT_EQ(map.height(), 2);
    EXPECT_EQ(map.colourTable()[9], (VXRGBQuad{9, 9, 9, 0}));
    EXPECT_EQ(map.row(0)[2], 2);   // index, not the colour's brightness
    EXPECT_EQ(map.row(1)[1], 101); // row 1 from the top
}

TEST(TextureMap, OtherDepthsGiveRoundedLuminance) {
    EXPECT_EQ(vxLuminance(vxRGB(255, 0, 0)), 76);  // 76.245
    EXPECT_EQ(vxLuminance(vxRGB(0, 255, 0)), 150); // 149.685
    EXPECT_EQ(vxLuminance(vxRGB(0, 0, 255)), 29);  // 29.07
    EXPECT_EQ(vxLuminance(vxRGB(10, 20, 30)), 18); // 18.15
    EXPECT_EQ(vxLuminance(0xFFFFFF), 255);
    ScratchFolder folder;
    folder.write("c.bmp", colourBmp({vxRGB(255, 0, 0), vxRGB(0, 255, 0), vxRGB(10, 20, 30)}));
    const VXImage2 map = prepareTextureMap(folder.file("c.bmp"));
    ASSERT_EQ(map.bitCount(), 8);
    EXPECT_EQ(map.row(0)[0], 76);
    EXPECT_EQ(map.row(0)[1], 150);
    EXPECT_EQ(map.row(0)[2], 18);
}

TEST(TextureMap, UnusablePathsGiveTheNeutralMap) {
    ScratchFolder folder;
    folder.write("junk.png", Bytes{1, 2, 3});
    for (const std::string& path : {std::string(), folder.file("missing.png"), folder.file("junk.png")}) {
        const VXImage2 map = prepareTextureMap(path);
        ASSERT_EQ(map.width(), 20);
        ASSERT_EQ(map.height(), 20);
        ASSERT_EQ(map.bitCount(), 8);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(map.row(y)[x], 128);
    }
}
