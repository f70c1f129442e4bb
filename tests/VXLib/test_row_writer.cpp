// Pictures written row by row (exact bitmap bytes, 16-bit PNG samples, JPEG flattening,
// wrong row counts and kinds, bitmaps past 4 GiB) and files read back in pieces.
#include "VXLib/VXImageFile.h"
#include "VXLib/VXRowWriter.h"

#include "tests/VXLib/ImageMaker.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

using namespace morvessan;
using namespace morvessan::testing;

namespace {

// Writes `rows` (height rows of width x channels samples) to `path`; the error when it fails.
std::string writeRows(const std::string& path, const VXRowFormat& format, const Bytes& rows,
                      const VXPictureWriting& writing = {}, int rowCount = -1) {
    VXFileReplacement file;
    if (!file.begin(path))
        return file.error();
    std::string error;
    auto writer = vxBeginRowWriter(file, format, writing, &error);
    if (!writer)
        return error.empty() ? "no writer" : error;
    const std::size_t rowBytes =
        std::size_t(format.width) * std::size_t(vxRowChannels(format.kind)) * std::size_t(format.bitDepth / 8);
    const int count = rowCount < 0 ? format.height : rowCount;
    for (int y = 0; y < count; ++y)
        if (!writer->writeRow(rows.data() + std::size_t(y % format.height) * rowBytes))
            return writer->error();
    if (!writer->finish())
        return writer->error();
    return file.commit() ? std::string() : file.error();
}

// A 16-bit PNG's samples, as stored (most significant byte first).
Bytes readPng16(const std::string& path, int& width, int& height, int& channels) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Bytes samples;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, f);
        png_read_info(png, info);
        width = int(png_get_image_width(png, info));
        height = int(png_get_image_height(png, info));
        channels = png_get_channels(png, info);
        EXPECT_EQ(png_get_bit_depth(png, info), 16);
        const std::size_t rowBytes = png_get_rowbytes(png, info);
        samples.resize(rowBytes * std::size_t(height));
        for (int y = 0; y < height; ++y)
            png_read_row(png, samples.data() + rowBytes * std::size_t(y), nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return samples;
}

} // namespace

TEST(RowWriter, BitmapRowsLandBottomUpWithPaddingAndTheResolution) {
    ScratchFolder folder;
    const VXRowFormat format{3, 2, VXRowKind::Rgb};
    const Bytes rows{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    VXPictureMetadata metadata;
    metadata.dotsPerMetreX = 3780;
    metadata.dotsPerMetreY = 2835;
    VXPictureWriting writing;
    writing.metadata = &metadata;
    ASSERT_EQ(writeRows(folder.file("a.bmp"), format, rows, writing), "");
    const Bytes file = readFile(folder.file("a.bmp"));
    // 3 pixels of 3 bytes pad to 12 a row.
    ASSERT_EQ(file.size(), 14u + 40u + 24u);
    EXPECT_EQ(file[2] | (file[3] << 8), 78);
    EXPECT_EQ(file[10], 54);
    EXPECT_EQ(file[14 + 14], 24);
    EXPECT_EQ(file[14 + 20], 24); // the pixel bytes
    EXPECT_EQ(file[14 + 24] | (file[14 + 25] << 8), 3780);
    EXPECT_EQ(file[14 + 28] | (file[14 + 29] << 8), 2835);
    const Bytes bottomFirst{13, 12, 11, 16, 15, 14, 19, 18, 17, 0, 0, 0, 3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0};
    EXPECT_EQ(Bytes(file.begin() + 54, file.end()), bottomFirst);

    const VXRowFormat alpha{1, 2, VXRowKind::Rgba};
    ASSERT_EQ(writeRows(folder.file("b.bmp"), alpha, Bytes{1, 2, 3, 4, 5, 6, 7, 8}), "");
    const Bytes masked = readFile(folder.file("b.bmp"));
    ASSERT_EQ(masked.size(), 14u + 108u + 8u);
    EXPECT_EQ(masked[14], 108);
    EXPECT_EQ(masked[14 + 16], 3); // bit fields
    EXPECT_EQ(Bytes(masked.begin() + 122, masked.end()), (Bytes{7, 6, 5, 8, 3, 2, 1, 4}));
    // The whole-picture encoder's bytes for the same picture.
    VXImage2 whole;
    ASSERT_TRUE(whole.create(1, 2, 32));
    whole.setHasAlpha(true);
    const Bytes top{3, 2, 1, 4};
    const Bytes bottom{7, 6, 5, 8};
    std::copy(top.begin(), top.end(), whole.row(0));
    std::copy(bottom.begin(), bottom.end(), whole.row(1));
    const Bytes expected = vxEncodeBitmap(whole, true);
    EXPECT_EQ(masked, expected);
}

TEST(RowWriter, BitmapPixelsSwapToBlueGreenRedAtEveryWidth) {
    // Widths on both sides of every five-pixel step of the shuffled swap.
    ScratchFolder folder;
    for (std::int32_t width = 1; width <= 23; ++width) {
        const VXRowFormat format{width, 2, VXRowKind::Rgb};
        Bytes rows(std::size_t(width) * 3 * 2);
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = std::uint8_t(i * 7 + 1);
        const std::string path = folder.file("w" + std::to_string(width) + ".bmp");
        ASSERT_EQ(writeRows(path, format, rows), "");
        const Bytes file = readFile(path);
        const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
        ASSERT_EQ(file.size(), 54 + 2 * stride);
        for (int y = 0; y < 2; ++y) {
            const std::uint8_t* stored = file.data() + 54 + std::size_t(1 - y) * stride;
            const std::uint8_t* given = rows.data() + std::size_t(y) * width * 3;
            for (std::int32_t x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(stored[3 * x + c], given[3 * x + 2 - c]) << width << " wide, at " << x << ", " << y;
            for (std::size_t pad = std::size_t(width) * 3; pad < stride; ++pad)
                ASSERT_EQ(stored[pad], 0) << width << " wide";
        }
    }
}

TEST(RowWriter, SixteenBitPngKeepsEverySample) {
    ScratchFolder folder;
    for (const VXRowKind kind : {VXRowKind::Grey, VXRowKind::GreyAlpha, VXRowKind::Rgb, VXRowKind::Rgba}) {
        const VXRowFormat format{5, 3, kind, 16};
        const int channels = vxRowChannels(kind);
        Bytes rows(std::size_t(5 * 3 * channels * 2));
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = std::uint8_t(i * 37 + 11); // both bytes of every sample vary
        ASSERT_EQ(writeRows(folder.file("d.png"), format, rows), "");
        int width = 0;
        int height = 0;
        int read = 0;
        EXPECT_EQ(readPng16(folder.file("d.png"), width, height, read), rows);
        EXPECT_EQ(width, 5);
        EXPECT_EQ(height, 3);
        EXPECT_EQ(read, channels);
    }
}

TEST(RowWriter, JpegFlattensAlphaAsTheColourRowsWouldBe) {
    ScratchFolder folder;
    Bytes rgba(std::size_t(9 * 4 * 4));
    for (std::size_t i = 0; i < rgba.size(); ++i)
        rgba[i] = std::uint8_t(i * 29);
    VXPictureWriting writing;
    writing.background = 0x204080;
    Bytes rgb(std::size_t(9 * 4 * 3));
    vxFlattenRow(rgba.data(), rgb.data(), 9 * 4, writing.background);
    ASSERT_EQ(writeRows(folder.file("a.jpg"), VXRowFormat{9, 4, VXRowKind::Rgba}, rgba, writing), "");
    ASSERT_EQ(writeRows(folder.file("b.jpg"), VXRowFormat{9, 4, VXRowKind::Rgb}, rgb, writing), "");
    EXPECT_EQ(readFile(folder.file("a.jpg")), readFile(folder.file("b.jpg")));
}

TEST(RowWriter, WrongRowCountsAndUnfitKindsLeaveTheTargetAlone) {
    ScratchFolder folder;
    const Bytes rows(4 * 3 * 3, 100);
    const VXRowFormat format{4, 3, VXRowKind::Rgb};
    for (const char* name : {"k.png", "k.jpg", "k.bmp"}) {
        folder.write(name, Bytes{1, 2, 3});
        EXPECT_NE(writeRows(folder.file(name), format, rows, {}, 2), "") << name; // a row short
        EXPECT_NE(writeRows(folder.file(name), format, rows, {}, 4), "") << name; // one too many
        EXPECT_EQ(readFile(folder.file(name)), (Bytes{1, 2, 3})) << name;
    }
    const Bytes wide(4 * 3 * 2 * 2, 7);
    EXPECT_NE(writeRows(folder.file("k.jpg"), VXRowFormat{4, 3, VXRowKind::GreyAlpha}, wide), "");
    EXPECT_NE(writeRows(folder.file("k.bmp"), VXRowFormat{4, 3, VXRowKind::Grey, 16}, wide), "");
    EXPECT_NE(writeRows(folder.file("k.png"), VXRowFormat{4, 3, VXRowKind::Palette}, wide), ""); // no table
    EXPECT_NE(writeRows(folder.file("k.png"), VXRowFormat{0, 3, VXRowKind::Rgb}, rows), "");
    const std::string error = writeRows(folder.file("k.gif"), format, rows);
    EXPECT_NE(error.find(".png, .jpg or .bmp"), std::string::npos) << error;
    EXPECT_EQ(readFile(folder.file("k.png")), (Bytes{1, 2, 3}));
    // Nothing but the three kept files: every temporary file is gone.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3);
}

namespace {

// Rows that compress neither to nothing nor not at all: smooth ramps with some noise.
Bytes textureRows(int width, int height, int channels) {
    Bytes rows(std::size_t(width) * std::size_t(height) * std::size_t(channels));
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        state = state * 1103515245u + 12345u;
        const std::size_t pixel = i / std::size_t(channels);
        rows[i] = std::uint8_t(pixel % std::size_t(width) / 4 + pixel / std::size_t(width) / 3 + (state >> 29));
    }
    return rows;
}

constexpr VXPngCompression kLevels[] = {VXPngCompression::Fast, VXPngCompression::Default, VXPngCompression::Small};

// An 8-bit PNG's pixels as libpng's simplified reader gives them in `format`.
Bytes readPng8(const std::string& path, std::uint32_t format) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return {};
    image.format = format;
    Bytes pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return {};
    return pixels;
}

} // namespace

TEST(RowWriter, PngStripsOfEveryLevelFromAnyNumberOfThreadsGiveOneFileThatDecodesToTheRows) {
    ScratchFolder folder;
    // 1000 x 3 bytes a row: a strip holds 349 rows, so 800 rows make three strips.
    const Bytes rows = textureRows(1000, 800, 3);
    std::map<int, std::size_t> sizes;
    for (const VXPngCompression level : kLevels) {
        Bytes first;
        for (const std::int32_t threads : {1, 2, 5}) {
            VXPictureWriting writing;
            writing.threads = threads;
            writing.compression = level;
            const std::string name = "s" + std::to_string(int(level)) + "-" + std::to_string(threads) + ".png";
            ASSERT_EQ(writeRows(folder.file(name), VXRowFormat{1000, 800, VXRowKind::Rgb}, rows, writing), "");
            const Bytes file = readFile(folder.file(name));
            if (first.empty())
                first = file;
            EXPECT_EQ(file, first) << threads << " threads, level " << int(level);
            EXPECT_EQ(readPng8(folder.file(name), PNG_FORMAT_RGB), rows) << threads << " threads, level " << int(level);
#if !defined(_WIN32)
            // ImageMagick reads it too (Debian's, when installed).
            if (std::filesystem::exists("/usr/bin/convert")) {
                const std::string command =
                    "/usr/bin/convert '" + folder.file(name) + "' 'rgb:" + folder.file("s.rgb") + "' 2>/dev/null";
                ASSERT_EQ(std::system(command.c_str()), 0);
                EXPECT_EQ(readFile(folder.file("s.rgb")), rows) << threads << " threads, level " << int(level);
            }
#endif
        }
        sizes[int(level)] = first.size();
    }
    for (const auto& [level, size] : sizes)
        EXPECT_LT(size, rows.size() * 2 / 3) << "level " << level; // it compresses

    // One row, alpha, a palette: each decodes to what was written.
    const Bytes one = textureRows(7, 1, 4);
    ASSERT_EQ(writeRows(folder.file("one.png"), VXRowFormat{7, 1, VXRowKind::Rgba}, one), "");
    EXPECT_EQ(readPng8(folder.file("one.png"), PNG_FORMAT_RGBA), one);
    const VXRGBQuad table[3] = {{1, 2, 3, 0}, {40, 50, 60, 0}, {200, 100, 0, 0}};
    VXRowFormat indexed{5, 2, VXRowKind::Palette};
    indexed.palette = table;
    indexed.paletteEntries = 3;
    ASSERT_EQ(writeRows(folder.file("p.png"), indexed, Bytes{0, 1, 2, 1, 0, 2, 2, 2, 1, 0}), "");
    const Bytes colours = readPng8(folder.file("p.png"), PNG_FORMAT_RGB);
    ASSERT_EQ(colours.size(), 30u);
    // The table's entries are blue, green, red.
    EXPECT_EQ(Bytes(colours.begin() + 3, colours.begin() + 9), (Bytes{60, 50, 40, 0, 100, 200}));
}

TEST(RowWriter, FilteredRowsOfNoiseDecodeAtEveryLevelWidthAndPixelSize) {
    // Bytes without pattern, at widths across pixels of 1 to 8 bytes, through each
    // level's encoders (stored blocks among them).
    ScratchFolder folder;
    std::uint32_t state = 7;
    const auto noise = [&](std::size_t n) {
        Bytes bytes(n);
        for (auto& b : bytes) {
            state = state * 1103515245u + 12345u;
            b = std::uint8_t(state >> 24);
        }
        return bytes;
    };
    const struct {
        VXRowKind kind;
        int depth;
        std::uint32_t format;
    } kinds[] = {{VXRowKind::Grey, 8, PNG_FORMAT_GRAY},
                 {VXRowKind::Rgb, 8, PNG_FORMAT_RGB},
                 {VXRowKind::Rgba, 8, PNG_FORMAT_RGBA},
                 {VXRowKind::GreyAlpha, 16, 0},
                 {VXRowKind::Rgb, 16, 0},
                 {VXRowKind::Rgba, 16, 0}};
    for (const auto& k : kinds) {
        for (std::int32_t width = 1; width <= 19; ++width) {
            const VXRowFormat format{width, 4, k.kind, k.depth};
            const Bytes rows = noise(std::size_t(width) * 4 * std::size_t(vxRowChannels(k.kind) * k.depth / 8));
            for (const VXPngCompression level : kLevels) {
                const std::string path = folder.file("n" + std::to_string(width) + ".png");
                VXPictureWriting writing;
                writing.compression = level;
                ASSERT_EQ(writeRows(path, format, rows, writing), "");
                if (k.depth == 8) {
                    ASSERT_EQ(readPng8(path, k.format), rows) << width << " wide, level " << int(level);
                } else {
                    int w = 0, h = 0, channels = 0;
                    ASSERT_EQ(readPng16(path, w, h, channels), rows) << width << " wide, level " << int(level);
                }
            }
        }
    }
}

TEST(RowWriter, BitmapsPastFourGibibytesAreRefusedBeforeAByte) {
    // The file's size fields have 32 bits; 65535 x 16384 with alpha is the last that fits.
    ScratchFolder folder;
    folder.write("big.bmp", Bytes{1, 2, 3});
    for (const auto& [format, fits] : {std::pair{VXRowFormat{65535, 16384, VXRowKind::Rgba}, true},
                                       std::pair{VXRowFormat{65535, 16385, VXRowKind::Rgba}, false},
                                       std::pair{VXRowFormat{65535, 21846, VXRowKind::Rgb}, false}}) {
        VXFileReplacement file;
        ASSERT_TRUE(file.begin(folder.file("big.bmp")));
        std::string error;
        const auto writer = vxBeginRowWriter(file, format, {}, &error);
        EXPECT_EQ(writer != nullptr, fits) << format.height;
        if (!fits) {
            EXPECT_NE(error.find("a bitmap file holds at most 4 GiB"), std::string::npos) << error;
        }
    }
    EXPECT_EQ(readFile(folder.file("big.bmp")), (Bytes{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(WholeFile, AFileReadInPiecesIsHandedOverWholeAndInOrder) {
    ScratchFolder folder;
    Bytes bytes(1000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t(i * 31 + 7);
    folder.write("f.bin", bytes);
    for (const std::size_t piece : {std::size_t(1), std::size_t(7), std::size_t(1000), std::size_t(4096)}) {
        std::string joined;
        std::size_t largest = 0;
        std::string error = "unset";
        ASSERT_TRUE(vxReadFileInPieces(
            folder.file("f.bin"), piece,
            [&](std::string_view part) {
                joined.append(part);
                largest = std::max(largest, part.size());
                return true;
            },
            error));
        EXPECT_EQ(Bytes(joined.begin(), joined.end()), bytes) << piece;
        EXPECT_LE(largest, piece);
    }
    // A taker that stops ends the reading, with no reason of the file's.
    int calls = 0;
    std::string error;
    EXPECT_FALSE(vxReadFileInPieces(
        folder.file("f.bin"), 100, [&](std::string_view) { return ++calls < 3; }, error));
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(error, "");
    // What cannot be read is named.
    const auto never = [](std::string_view) { return true; };
    EXPECT_FALSE(vxReadFileInPieces(folder.file("none.bin"), 100, never, error));
    EXPECT_NE(error.find("none.bin"), std::string::npos) << error;
    EXPECT_FALSE(vxReadFileInPieces(folder.path().string(), 100, never, error));
    EXPECT_NE(error.find("it is a folder"), std::string::npos) << error;
}

TEST(RowWriter, TheDefaultLevelDeflatesEachStripAsItsRowsFavour) {
    // Smooth rows deflate with runs alone, as the fast level's; grain (one value added
    // to the three channels of a pixel) breaks the runs but repeats, which level 2 finds.
    ScratchFolder folder;
    const int width = 1000;
    const int height = 400;
    Bytes smooth(std::size_t(width) * height * 3);
    Bytes grain(smooth.size());
    std::uint32_t state = 5;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            for (int c = 0; c < 3; ++c) {
                const std::size_t i = (std::size_t(y) * width + std::size_t(x)) * 3 + std::size_t(c);
                smooth[i] = std::uint8_t(x / 9 + y / 7 + c * 40);
                grain[i] = std::uint8_t(smooth[i] + (state >> 28));
            }
        }
    }
    const auto encoded = [&](const Bytes& rows, VXPngCompression level) {
        VXPictureWriting writing;
        writing.compression = level;
        EXPECT_EQ(writeRows(folder.file("g.png"), VXRowFormat{width, height, VXRowKind::Rgb}, rows, writing), "");
        return readFile(folder.file("g.png"));
    };
    EXPECT_EQ(encoded(smooth, VXPngCompression::Default), encoded(smooth, VXPngCompression::Fast));
    const Bytes fast = encoded(grain, VXPngCompression::Fast);
    const Bytes chosen = encoded(grain, VXPngCompression::Default);
    EXPECT_LT(chosen.size() * 5, fast.size() * 4) << chosen.size() << " against " << fast.size();
    EXPECT_EQ(readPng8(folder.file("g.png"), PNG_FORMAT_RGB), grain);
    // The small level is smaller on both.
    EXPECT_LT(encoded(grain, VXPngCompression::Small).size(), chosen.size());
    EXPECT_LT(encoded(smooth, VXPngCompression::Small).size(), encoded(smooth, VXPngCompression::Default).size());
}
