// Loading by file name and by resource: content, not names, decides; top-down
// results, resources by id, type and extension; and writing files safely.
#include "VXLib/VXBitmapReader.h"
#include "VXLib/VXImageFile.h"
#include "VXLib/VXImageWriter.h"
#include "VXLib/VXResources.h"

#include "tests/VXLib/ImageMaker.h"

#include <gtest/gtest.h>

using namespace morvessan;
using namespace morvessan::testing;

namespace {

Bytes smallBmp() {
    BmpRecipe s;
    s.width = 2;
    s.height = 2;
    s.bitCount = 24;
    s.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    return makeBmp(s);
}

Bytes greyPng() {
    PngRecipe s;
    s.width = 3;
    s.height = 2;
    return makePng(s, [](int x, int y, int) { return unsigned(10 * y + x); });
}

Bytes palettePngWithTransparentIndex() {
    PngRecipe s;
    s.width = 2;
    s.height = 1;
    s.colourType = 3;
    s.paletteRGB = {1, 2, 3, 4, 5, 6};
    s.trnsAlpha = {0};
    return makePng(s, [](int x, int, int) { return unsigned(x); });
}

} // namespace

TEST(LoadImageFile, ContentDecidesWhateverTheName) {
    ScratchFolder folder;
    folder.write("a.BMP", smallBmp());
    folder.write("b.png", greyPng());
    folder.write("c.Jpg", makeJpeg(8, 8, true, [](int, int) { return 90u; }));
    folder.write("photo.jpeg", makeJpeg(8, 8, false, [](int, int) { return vxRGB(200, 0, 0); }));
    folder.write("noext", smallBmp());
    folder.write("misnamed.png", smallBmp());
    folder.write("notes.txt", Bytes{'h', 'i'});
    VXImage2 image;
    image.setTransparentColour(5);
    image.setHasAlpha(true);
    ASSERT_TRUE(loadImageFile(folder.file("a.BMP"), image));
    EXPECT_EQ(image.bitCount(), 24);
    EXPECT_TRUE(image.isTopDown());
    EXPECT_EQ(image.pixel(0, 0), vxRGB(9, 8, 7));
    EXPECT_EQ(image.transparentColour(), -1);
    EXPECT_FALSE(image.hasAlpha());
    ASSERT_TRUE(loadImageFile(folder.file("b.png"), image));
    EXPECT_EQ(image.pixel(2, 1), 12u);
    ASSERT_TRUE(loadImageFile(folder.file("c.Jpg"), image));
    EXPECT_EQ(image.bitCount(), 8);
    EXPECT_TRUE(image.isTopDown());
    ASSERT_TRUE(loadImageFile(folder.file("photo.jpeg"), image));
    EXPECT_EQ(image.bitCount(), 24);
    ASSERT_TRUE(loadImageFile(folder.file("noext"), image));
    EXPECT_EQ(image.pixel(1, 1), vxRGB(6, 5, 4));
    ASSERT_TRUE(loadImageFile(folder.file("misnamed.png"), image));
    EXPECT_EQ(image.bitCount(), 24);

    image.setTransparentColour(3);
    EXPECT_FALSE(loadImageFile(folder.file("notes.txt"), image));
    EXPECT_TRUE(image.isEmpty());
    EXPECT_EQ(image.transparentColour(), -1);
    EXPECT_FALSE(loadImageFile(folder.file("missing.png"), image));
    EXPECT_FALSE(loadImageFile(folder.path().string(), image)); // a folder
    EXPECT_FALSE(loadImageFile("", image));
}

TEST(LoadImageFile, APaletteKeepsItsIndicesButAFileNoTransparentColour) {
    ScratchFolder folder;
    folder.write("p.png", palettePngWithTransparentIndex());
    VXImage2 image;
    ASSERT_TRUE(loadImageFile(folder.file("p.png"), image));
    EXPECT_EQ(image.bitCount(), 8);
    EXPECT_EQ(image.pixel(1, 0), 1u);
    EXPECT_EQ(image.pixelColour(1, 0), vxRGB(4, 5, 6));
    EXPECT_EQ(image.transparentColour(), -1);
}

#if defined(_WIN32)
TEST(LoadImageResource, DecodesPngAndJpegByExtensionOnly) {
    GTEST_SKIP() << "resources added at run time exist only in the portable build; "
                    "the Windows build reads the module's own resources";
}
#else
TEST(LoadImageResource, DecodesPngAndJpegByExtensionOnly) {
    vxRegisterResource(9101, "IMAGE", palettePngWithTransparentIndex());
    vxRegisterResource(9102, "IMAGE", makeJpeg(8, 8, false, [](int, int) { return vxRGB(0, 0, 200); }));
    vxRegisterResource(9103, "IMAGE", smallBmp());
    VXImage2 image;
    ASSERT_TRUE(loadImageResource(nullptr, 9101, "image", ".PNG", image));
    EXPECT_EQ(image.bitCount(), 8);
    EXPECT_TRUE(image.isTopDown());
    EXPECT_EQ(image.transparentColour(), 0); // a resource keeps the index
    ASSERT_TRUE(loadImageResource(nullptr, 9102, "IMAGE", ".jpg", image));
    EXPECT_EQ(image.bitCount(), 24);
    EXPECT_FALSE(loadImageResource(nullptr, 9101, "IMAGE", ".GIF", image));
    EXPECT_TRUE(image.isEmpty());
    EXPECT_FALSE(loadImageResource(nullptr, 9103, "IMAGE", ".BMP", image));
    EXPECT_FALSE(loadImageResource(nullptr, 9101, "IMAGE", ".jpg", image)); // wrong content
    EXPECT_FALSE(loadImageResource(nullptr, 9999, "IMAGE", ".png", image));
    EXPECT_FALSE(loadImageResource(nullptr, 9101, "ICON", ".png", image));
}
#endif

TEST(LoadImageResource, MissingResourcesFail) {
    VXImage2 image;
    EXPECT_FALSE(loadImageResource(nullptr, 31999, "IMAGE", ".png", image));
    EXPECT_TRUE(image.isEmpty());
}

TEST(SaveImageFile, RoundTripsThroughEveryFormat) {
    ScratchFolder folder;
    VXImage2 colour;
    ASSERT_TRUE(colour.create(5, 3, 24));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            colour.setPixel(x, y, vxRGB(std::uint8_t(40 * x), std::uint8_t(80 * y), 7));
    for (const char* name : {"c.png", "c.bmp", "c.BMP"}) {
        std::string error;
        ASSERT_TRUE(saveImageFile(folder.file(name), colour, &error)) << error;
        VXImage2 back;
        ASSERT_TRUE(loadImageFile(folder.file(name), back));
        ASSERT_EQ(back.bitCount(), 24);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(back.pixel(x, y), colour.pixel(x, y)) << name;
    }

    const VXPalette grey = VXPalette::greyPalette();
    VXImage2 texture;
    ASSERT_TRUE(texture.create(4, 4, 8, &grey));
    texture.setPixel(1, 2, 200);
    ASSERT_TRUE(saveImageFile(folder.file("t.png"), texture));
    VXImage2 back;
    ASSERT_TRUE(loadImageFile(folder.file("t.png"), back));
    EXPECT_EQ(back.bitCount(), 8);
    EXPECT_EQ(back.pixel(1, 2), 200u);
    ASSERT_TRUE(saveImageFile(folder.file("t.jpeg"), texture));
    ASSERT_TRUE(loadImageFile(folder.file("t.jpeg"), back));
    EXPECT_EQ(back.bitCount(), 8); // greyscale JPEG

    const VXRGBQuad table[2] = {{0, 0, 255, 0}, {255, 0, 0, 0}};
    VXPalette two(table, 2);
    VXImage2 indexed;
    ASSERT_TRUE(indexed.create(3, 1, 8, &two));
    indexed.setPixel(2, 0, 1);
    ASSERT_TRUE(saveImageFile(folder.file("p.png"), indexed));
    ASSERT_TRUE(loadImageFile(folder.file("p.png"), back));
    EXPECT_EQ(back.pixel(2, 0), 1u);
    EXPECT_EQ(back.pixelColour(2, 0), vxRGB(0, 0, 255));

    VXImage2 alpha;
    ASSERT_TRUE(alpha.create(2, 1, 32));
    alpha.setHasAlpha(true);
    alpha.setPixel(1, 0, 0x40102030u);
    ASSERT_TRUE(saveImageFile(folder.file("a.png"), alpha));
    ASSERT_TRUE(loadImageFile(folder.file("a.png"), back));
    EXPECT_TRUE(back.hasAlpha());
    EXPECT_EQ(back.pixel(1, 0), 0x40102030u);

    ASSERT_TRUE(saveImageFile(folder.file("c.jpg"), colour));
    ASSERT_TRUE(loadImageFile(folder.file("c.jpg"), back));
    EXPECT_EQ(back.bitCount(), 24);
    EXPECT_FALSE(std::filesystem::exists(folder.file("c.jpg.part")));
}

TEST(SaveImageFile, FailuresLeaveExistingFilesAlone) {
    ScratchFolder folder;
    folder.write("keep.png", greyPng());
    const Bytes before = readFile(folder.file("keep.png"));
    std::string error;
    EXPECT_FALSE(saveImageFile(folder.file("keep.png"), VXImage2(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readFile(folder.file("keep.png")), before);

    VXImage2 image;
    ASSERT_TRUE(image.create(2, 2, 24));
    error.clear();
    EXPECT_FALSE(saveImageFile(folder.file("x.gif"), image, &error));
    EXPECT_NE(error.find(".png"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.gif")));
    error.clear();
    EXPECT_FALSE(saveImageFile(folder.file("no/such/folder/x.png"), image, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(SaveImageFile, BitmapBytesAreTheClassicLayout) {
    VXImage2 image;
    ASSERT_TRUE(image.create(1, 2, 8));
    image.setPixel(0, 0, 1);
    image.setPixel(0, 1, 2);
    const Bytes file = vxEncodeBitmap(image);
    ASSERT_EQ(file.size(), 14u + 1064u + 8u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[10] | (file[11] << 8), 1078);
    EXPECT_EQ(file[1078], 2); // bottom row first
    EXPECT_EQ(file[1082], 1);
    VXImage2 back;
    ASSERT_TRUE(vxLoadBitmapMemory(file.data(), file.size(), back));
    EXPECT_EQ(back.pixel(0, 0), 1u);
}
