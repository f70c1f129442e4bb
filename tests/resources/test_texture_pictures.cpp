// The shipped texture pictures: six named 8-bit grey pictures with real
// structure, the same on every run, written as PNG files that read back exactly.
#include "resources/textures/TexturePictures.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

using namespace morvessan;
namespace fs = std::filesystem;

namespace {

struct Decoded {
    std::uint32_t width = 0, height = 0;
    int bitDepth = 0, colourType = 0;
    std::vector<std::uint8_t> pixels;
};

// Decodes with libpng and no transforms, so the stored format shows.
Decoded decodePng(std::FILE* file) {
    Decoded out;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return Decoded{};
    }
    png_init_io(png, file);
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    out.width = png_get_image_width(png, info);
    out.height = png_get_image_height(png, info);
    out.bitDepth = png_get_bit_depth(png, info);
    out.colourType = png_get_color_type(png, info);
    png_bytepp rows = png_get_rows(png, info);
    for (std::uint32_t y = 0; y < out.height; ++y)
        out.pixels.insert(out.pixels.end(), rows[y], rows[y] + out.width);
    png_destroy_read_struct(&png, &info, nullptr);
    return out;
}

Decoded readPng(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return {};
    Decoded decoded = decodePng(file);
    std::fclose(file);
    return decoded;
}

fs::path scratchFolder(const char* name) {
    const fs::path folder = fs::temp_directory_path() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

} // namespace

TEST(TexturePictures, SixNamedPicturesWithStructureDrawnTheSameEachTime) {
    const auto pictures = makeTexturePictures();
    ASSERT_EQ(pictures.size(), 6u);
    const char* names[] = {"Canvas.png", "Paper.png", "Bricks.png", "Scratches.png", "Cells.png", "Noise.png"};
    const auto again = makeTexturePictures();
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const TexturePicture& picture = pictures[i];
        EXPECT_EQ(picture.name, names[i]);
        EXPECT_EQ(picture.width, 256);
        EXPECT_EQ(picture.height, 256);
        ASSERT_EQ(picture.pixels.size(), 256u * 256u) << picture.name;
        const std::set<std::uint8_t> levels(picture.pixels.begin(), picture.pixels.end());
        EXPECT_GE(levels.size(), 20u) << picture.name << " is nearly flat";
        EXPECT_EQ(picture.pixels, again[i].pixels) << picture.name << " differs between runs";
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(picture.pixels, pictures[j].pixels);
    }
    // Bricks: mortar rows are darker than the bricks they separate.
    const auto& bricks = pictures[2].pixels;
    EXPECT_LT(bricks[1 * 256 + 100], bricks[16 * 256 + 100]);
}

TEST(TexturePictures, WrittenAsEightBitGreyPngThatReadsBackExactly) {
    const fs::path folder = scratchFolder("morvessan-texture-pictures");
    for (const TexturePicture& picture : makeTexturePictures()) {
        const std::string path = (folder / picture.name).string();
        std::string error;
        ASSERT_TRUE(writeGreyPng(picture, path, error)) << error;
        const Decoded decoded = readPng(path);
        EXPECT_EQ(decoded.width, 256u);
        EXPECT_EQ(decoded.height, 256u);
        EXPECT_EQ(decoded.bitDepth, 8);
        EXPECT_EQ(decoded.colourType, PNG_COLOR_TYPE_GRAY);
        EXPECT_EQ(decoded.pixels, picture.pixels) << picture.name;
        EXPECT_FALSE(fs::exists(path + ".part"));
    }
    fs::remove_all(folder);
}

TEST(TexturePictures, FailedWritesLeaveTheOldFileAndNoLeftovers) {
    const fs::path folder = scratchFolder("morvessan-texture-pictures-bad");
    const std::string path = (folder / "Paper.png").string();
    std::ofstream(path, std::ios::binary) << "the good old file";
    std::string error;

    TexturePicture broken{"Paper.png", 256, 256, std::vector<std::uint8_t>(100)};
    EXPECT_FALSE(writeGreyPng(broken, path, error));
    EXPECT_EQ(error, "picture Paper.png has no pixels or the wrong number of them");

    EXPECT_FALSE(writeGreyPng(makeTexturePictures()[1], (folder / "no-such-folder" / "Paper.png").string(), error));
    EXPECT_NE(error.find("Cannot create"), std::string::npos) << error;

    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the good old file");
    in.close();
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    fs::remove_all(folder);
}
