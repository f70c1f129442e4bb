// The decoder's indexed form, which texture pictures and the dialogs' pictures are
// read in: stored grey and palette values with their table, colours otherwise, 16
// bits cut, damage refused. The sample files' outcomes are pinned: a change there
// changes every render that uses such a picture as its texture.
#include "VXLib/VXDIBTypes.h"
#include "VXLib/VXPictureDecoder.h"
#include "VXLib/VXTextureMap.h"

#include "tests/VXLib/ImageMaker.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include <jpeglib.h> // WITH_SIMD

using namespace morvessan;
using namespace morvessan::testing;

namespace {

bool decodeIndexed(const Bytes& bytes, VXDecodedPicture& picture, bool headerOnly = false) {
    VXPictureReading reading;
    reading.indexed = true;
    reading.headerOnly = headerOnly;
    std::string error;
    std::string damage;
    const bool read = vxDecodePicture(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                      reading, picture, error, damage);
    EXPECT_EQ(error.empty(), read);
    return read;
}

VXDecodedPicture decode(const Bytes& bytes) {
    VXDecodedPicture picture;
    EXPECT_TRUE(decodeIndexed(bytes, picture));
    return picture;
}

bool refused(const Bytes& bytes) {
    VXDecodedPicture picture;
    return !decodeIndexed(bytes, picture);
}

// The value at (x, y): a stored value, or the colour (red low) with alpha above.
std::uint32_t at(const VXDecodedPicture& p, int x, int y) {
    const std::uint8_t* s = p.pixels.data() + (std::size_t(y) * std::size_t(p.width) + std::size_t(x)) * p.planes;
    return p.planes == 1 ? s[0] : vxRGB(s[0], s[1], s[2]) | (p.planes == 4 ? std::uint32_t(s[3]) << 24 : 0);
}

bool greyTable(const VXDecodedPicture& p) {
    for (std::uint32_t i = 0; i < 256; ++i)
        if (p.palette.size() != 256 || p.palette[i] != i * 0x010101u)
            return false;
    return true;
}

// A PNG's header chunks and the start of its pixel data: all libpng reads of a header.
Bytes pngHeader(PngRecipe s) {
    s.headerOnly = true;
    Bytes png = makePng(s, nullptr);
    png.insert(png.end(), {0, 0, 0, 0, 'I', 'D', 'A', 'T'});
    return png;
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

// Channel samples that exercise every bit of the depth.
unsigned sampleOf(int x, int y, int c, int depth) {
    const unsigned max = (1u << depth) - 1;
    return (unsigned(x) * 37u + unsigned(y) * 101u + unsigned(c) * 59u) * (depth == 16 ? 257u + 3u : 1u) & max;
}

// What a byte of the form holds for a sample: low depths widened, 16 bits cut (not rounded).
std::uint8_t to8(unsigned v, int depth) {
    switch (depth) {
    case 1: return std::uint8_t(v * 255);
    case 2: return std::uint8_t(v * 85);
    case 4: return std::uint8_t(v * 17);
    case 16: return std::uint8_t(v >> 8);
    default: return std::uint8_t(v);
    }
}

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

class IndexedPng : public ::testing::TestWithParam<bool> {};

TEST_P(IndexedPng, GreyOfEveryDepthIsOnePlaneOfGrey) {
    for (int depth : {1, 2, 4, 8, 16}) {
        const auto f = [depth](int x, int y, int c) { return sampleOf(x, y, c, depth); };
        const VXDecodedPicture p = decode(makePng(pngRecipe(13, 5, 0, depth, GetParam()), f));
        ASSERT_EQ(p.planes, 1) << depth;
        EXPECT_EQ(p.height, 5);
        EXPECT_TRUE(greyTable(p));
        EXPECT_EQ(p.transparentIndex, -1);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(at(p, x, y), to8(f(x, y, 0), depth)) << depth << " " << x << "," << y;
    }
}

TEST_P(IndexedPng, PaletteOfEveryDepthKeepsIndicesAndTable) {
    for (int depth : {1, 2, 4, 8}) {
        PngRecipe s = pngRecipe(11, 4, 3, depth, GetParam());
        const int entries = 1 << depth;
        for (int i = 0; i < entries; ++i)
            s.paletteRGB.insert(s.paletteRGB.end(), {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2)});
        const auto f = [depth](int x, int y, int c) { return sampleOf(x, y, c, depth); };
        const VXDecodedPicture p = decode(makePng(s, f));
        ASSERT_EQ(p.planes, 1) << depth;
        ASSERT_EQ(p.palette.size(), 256u);
        EXPECT_EQ(p.palette[std::size_t(entries - 1)],
                  vxRGB(std::uint8_t(entries - 1), std::uint8_t(256 - entries), std::uint8_t((entries - 1) / 2)));
        if (entries < 256) {
            EXPECT_EQ(p.palette[std::size_t(entries)], 0u); // the entries it lacks are black
        }
        EXPECT_EQ(p.transparentIndex, -1);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 11; ++x)
                ASSERT_EQ(at(p, x, y), f(x, y, 0)) << depth << " " << x << "," << y;
    }
}

TEST_P(IndexedPng, ColourWithAndWithoutAlphaAndGreyWithAlpha) {
    for (int depth : {8, 16}) {
        const auto f = [depth](int x, int y, int c) { return sampleOf(x, y, c, depth); };
        const PngRecipe rgb = pngRecipe(7, 6, 2, depth, GetParam());
        VXDecodedPicture p = decode(makePng(rgb, f));
        ASSERT_EQ(p.planes, 3);
        EXPECT_TRUE(p.palette.empty());
        EXPECT_EQ(p.fileBits, depth);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(at(p, x, y), vxRGB(to8(f(x, y, 0), depth), to8(f(x, y, 1), depth), to8(f(x, y, 2), depth)));

        PngRecipe rgba = rgb;
        rgba.colourType = 6;
        p = decode(makePng(rgba, f));
        ASSERT_EQ(p.planes, 4);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(at(p, x, y), vxRGB(to8(f(x, y, 0), depth), to8(f(x, y, 1), depth), to8(f(x, y, 2), depth)) |
                                           (std::uint32_t(to8(f(x, y, 3), depth)) << 24));

        PngRecipe greyAlpha = rgb;
        greyAlpha.colourType = 4;
        p = decode(makePng(greyAlpha, f));
        ASSERT_EQ(p.planes, 1); // the alpha is dropped
        EXPECT_TRUE(greyTable(p));
        EXPECT_EQ(at(p, 3, 2), to8(f(3, 2, 0), depth));
    }
}

INSTANTIATE_TEST_SUITE_P(Interlace, IndexedPng, ::testing::Values(false, true));

TEST(IndexedPngTransparency, OnlyALastSingleEntryStaysAnIndex) {
    PngRecipe s = pngRecipe(2, 1, 3, 8);
    s.paletteRGB = {10, 20, 30, 40, 50, 60};
    const auto f = [](int x, int, int) { return unsigned(x); };
    s.trnsAlpha = {0};
    VXDecodedPicture p = decode(makePng(s, f));
    EXPECT_EQ(p.planes, 1);
    EXPECT_EQ(p.transparentIndex, 0);
    s.trnsAlpha = {255, 0}; // the only non-opaque entry is the last one
    EXPECT_EQ(decode(makePng(s, f)).transparentIndex, 1);

    for (const std::vector<std::uint8_t>& alpha : {std::vector<std::uint8_t>{0, 255}, {255, 255}, {100, 200}}) {
        s.trnsAlpha = alpha;
        p = decode(makePng(s, f));
        ASSERT_EQ(p.planes, 4);
        EXPECT_EQ(p.transparentIndex, -1);
        EXPECT_EQ(at(p, 0, 0), vxRGB(10, 20, 30) | std::uint32_t(alpha[0]) << 24);
        EXPECT_EQ(at(p, 1, 0), vxRGB(40, 50, 60) | std::uint32_t(alpha[1]) << 24);
    }
}

TEST(IndexedPngTransparency, ColourKeysGiveAlphaGreyKeysAreDropped) {
    PngRecipe rgb = pngRecipe(2, 1, 2, 8);
    rgb.trnsKey = true;
    VXDecodedPicture p = decode(makePng(rgb, [](int x, int, int c) { return x == 0 ? unsigned(c + 1) : 9u; }));
    ASSERT_EQ(p.planes, 4);
    EXPECT_EQ(at(p, 0, 0), vxRGB(1, 2, 3)); // the key colour: alpha 0
    EXPECT_EQ(at(p, 1, 0), vxRGB(9, 9, 9) | 0xFF000000u);

    PngRecipe grey = pngRecipe(2, 1, 0, 8);
    grey.trnsKey = true;
    p = decode(makePng(grey, [](int x, int, int) { return unsigned(x); }));
    ASSERT_EQ(p.planes, 1);
    EXPECT_EQ(at(p, 1, 0), 1u);
}

TEST(IndexedPngDamage, CutAnywhereWrongMagicBadChecksumAndOversized) {
    const Bytes png = makePng(pngRecipe(9, 9, 2, 8), [](int x, int y, int c) { return unsigned(x * y + c); });
    for (std::size_t n = 0; n < png.size(); n += (n < 64 ? 1 : 7))
        EXPECT_TRUE(refused(Bytes(png.begin(), png.begin() + std::ptrdiff_t(n)))) << "cut at " << n;
    // The pixels are whole and only the end is missing: still refused.
    EXPECT_TRUE(refused(Bytes(png.begin(), png.end() - 12)));
    EXPECT_FALSE(refused(png));
    Bytes magic = png;
    magic[1] = 'Q';
    EXPECT_TRUE(refused(magic));
    Bytes crc = png;
    crc[30] ^= 0xFF; // inside IHDR: its checksum no longer matches
    EXPECT_TRUE(refused(crc));

    // Refused from the header: a header with the start of its pixels is all there is.
    EXPECT_TRUE(refused(pngHeader(pngRecipe(30000, 30000, 6, 8)))); // 3.6 GB
    EXPECT_TRUE(refused(pngHeader(pngRecipe(30001, 1, 0, 8))));
}

TEST(IndexedPngHeader, TheHeaderGivesTheSizeAndPlanesOfTheForm) {
    // One plane of 30000 x 30000 fits where three would not.
    const struct { int colourType, depth, planes; } cases[] = {{0, 16, 1}, {3, 2, 1}, {4, 8, 1}, {2, 16, 3}, {6, 8, 4}};
    for (const auto& c : cases) {
        PngRecipe s = pngRecipe(300, 200, c.colourType, c.depth);
        if (c.colourType == 3)
            s.paletteRGB = {1, 2, 3};
        VXDecodedPicture p;
        ASSERT_TRUE(decodeIndexed(pngHeader(s), p, true)) << c.colourType;
        EXPECT_EQ(p.width, 300);
        EXPECT_EQ(p.height, 200);
        EXPECT_EQ(p.planes, c.planes) << c.colourType;
        EXPECT_TRUE(p.pixels.empty());
        s.width = s.height = 30000;
        EXPECT_EQ(decodeIndexed(pngHeader(s), p, true), c.planes == 1) << c.colourType;
    }
}

TEST(IndexedJpeg, ColourBaselineAndProgressive) {
    for (bool progressive : {false, true}) {
        const VXDecodedPicture p = decode(makeJpeg(16, 16, false, blockColour, progressive));
        ASSERT_EQ(p.planes, 3);
        EXPECT_EQ(p.width, 16);
        EXPECT_EQ(p.height, 16);
        for (int y = 1; y < 16; y += 8)
            for (int x = 1; x < 16; x += 8)
                expectNear(at(p, x + 3, y + 3), blockColour(x, y), 3);
    }
}

TEST(IndexedJpeg, GreyIsOnePlaneWithTheGreyTable) {
    for (bool progressive : {false, true}) {
        const VXDecodedPicture p = decode(makeJpeg(
            24, 8, true, [](int x, int) { return std::uint32_t(x < 8    ? 20
                                                               : x < 16 ? 128
                                                                        : 240); }, progressive));
        ASSERT_EQ(p.planes, 1);
        EXPECT_TRUE(greyTable(p));
        EXPECT_NEAR(int(at(p, 3, 3)), 20, 1);
        EXPECT_NEAR(int(at(p, 11, 3)), 128, 1);
        EXPECT_NEAR(int(at(p, 20, 3)), 240, 1);
    }
}

TEST(IndexedJpeg, ACutStreamDecodesAsFarAsItGoesACutHeaderIsRefused) {
    const Bytes jpeg = makeJpeg(64, 64, false, blockColour);
    const Bytes part(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(jpeg.size() * 2 / 3));
    VXPictureReading reading;
    reading.indexed = true;
    VXDecodedPicture p;
    std::string error;
    std::string damage;
    ASSERT_TRUE(vxDecodePicture(std::string_view(reinterpret_cast<const char*>(part.data()), part.size()), reading, p,
                                error, damage));
    EXPECT_FALSE(damage.empty());
    EXPECT_EQ(p.width, 64);
    expectNear(at(p, 3, 3), blockColour(3, 3), 3);
    for (std::size_t n : {std::size_t(0), std::size_t(1), std::size_t(2), std::size_t(20), std::size_t(100)})
        EXPECT_TRUE(refused(Bytes(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(n)))) << n;
}

TEST(IndexedJpeg, RefusesCmykGarbageAndAbsurdSizes) {
    EXPECT_TRUE(refused(makeCmykJpeg(8, 8)));
    VXPictureReading colour; // the colour form converts the inks
    VXDecodedPicture p;
    std::string error;
    std::string damage;
    const Bytes cmyk = makeCmykJpeg(8, 8);
    EXPECT_TRUE(vxDecodePicture(std::string_view(reinterpret_cast<const char*>(cmyk.data()), cmyk.size()), colour, p,
                                error, damage));

    Bytes garbage(500);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = std::uint8_t(i * 7 + 3);
    EXPECT_TRUE(refused(garbage));
    Bytes wrongMagic = makeJpeg(8, 8, true, [](int, int) { return 1u; });
    wrongMagic[1] = 0xD9;
    EXPECT_TRUE(refused(wrongMagic));

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
    EXPECT_TRUE(refused(jpeg));
}

TEST(IndexedBitmap, EightBitsKeepTheirIndicesOtherDepthsGiveColours) {
    BmpRecipe eight;
    eight.width = 3;
    eight.height = 2;
    eight.bitCount = 8;
    for (int i = 0; i < 256; ++i)
        eight.table.insert(eight.table.end(), {std::uint8_t(i), std::uint8_t(255 - i), 7, 0});
    eight.pixels = {7, 200, 9, 0, 1, 2, 3, 0}; // bottom row first
    VXDecodedPicture p = decode(makeBmp(eight));
    ASSERT_EQ(p.planes, 1);
    EXPECT_EQ(at(p, 1, 1), 200u);
    EXPECT_EQ(at(p, 2, 0), 3u);
    EXPECT_EQ(p.palette[200], vxRGB(7, 55, 200));
    EXPECT_EQ(p.transparentIndex, -1);

    BmpRecipe four;
    four.width = 3;
    four.height = 1;
    four.bitCount = 4;
    for (int i = 0; i < 16; ++i)
        four.table.insert(four.table.end(), {std::uint8_t(i * 17), std::uint8_t(i * 17), std::uint8_t(i * 17), 0});
    four.pixels = {0x12, 0x30, 0, 0};
    p = decode(makeBmp(four));
    ASSERT_EQ(p.planes, 3); // its map is the luminance of its colours, not its indices
    EXPECT_EQ(at(p, 1, 0), vxRGB(34, 34, 34));

    // Cut short, it is refused here, where the colour form reads the rows that are there.
    const Bytes file = makeBmp(eight);
    EXPECT_TRUE(refused(Bytes(file.begin(), file.end() - 4)));
    VXPictureReading colour;
    std::string error;
    std::string damage;
    const Bytes cut(file.begin(), file.end() - 4);
    EXPECT_TRUE(vxDecodePicture(std::string_view(reinterpret_cast<const char*>(cut.data()), cut.size()), colour, p,
                                error, damage));
    EXPECT_FALSE(damage.empty());
}

namespace {

// A hash of what a texture takes from a picture: whether it reads, its size, stored
// values with their table and transparent entry, or colours (with alpha for PNGs).
std::uint64_t outcomeHash(const Bytes& bytes) {
    std::uint64_t h = 1469598103934665603ull;
    const auto add = [&h](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            h ^= (v >> (8 * i)) & 0xFF;
            h *= 1099511628211ull;
        }
    };
    VXDecodedPicture p;
    const bool read = decodeIndexed(bytes, p);
    add(read);
    if (!read)
        return h;
    add(std::uint32_t(p.width));
    add(std::uint32_t(p.height));
    add(p.planes == 1);
    add(std::uint32_t(p.transparentIndex));
    for (const std::uint32_t c : p.palette)
        add(c);
    const bool alpha = bytes[0] == 0x89 && p.planes == 4;
    add(alpha);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            add(p.planes == 1 || alpha ? at(p, x, y) : at(p, x, y) & 0xFFFFFFu);
    return h;
}

struct Pin {
    const char* file;    // under tests/fuzz/corpus
    std::uint64_t whole; // outcomeHash of the file
    std::uint64_t cuts;  // of its cuts in the last quarter, in turn
    int cutsRead;        // how many of those read
    // A cut arithmetic-coded stream decodes to coefficients no encoder writes, on which
    // libjpeg-turbo's SIMD and plain routines differ; the Windows build's has no SIMD.
    std::uint64_t cutsWithoutSimd = 0; // when not `cuts`
};

const Pin kPins[] = {
    {"picture/basn4a16.png", 0x4db0b9ef635ec04full, 0xccee172e449e1aacull, 0},
    {"picture/ftbbn0g04.png", 0xa37315378d7a18a8ull, 0xccee172e449e1aacull, 0},
    {"picture/ftbrn2c08.png", 0x2c2ade8d4148e6caull, 0xccee172e449e1aacull, 0},
    {"picture/ga8.png", 0xbfaed3a34ea15995ull, 0xccee172e449e1aacull, 0},
    {"picture/grey1i.png", 0xefeee13d79c3a9deull, 0xccee172e449e1aacull, 0},
    {"picture/meta-icc-exif-phys.png", 0x03d072d6552c973full, 0xccee172e449e1aacull, 0},
    {"picture/pal4trns.png", 0xb783d34525e3ce52ull, 0xccee172e449e1aacull, 0},
    {"picture/palette-4-tRNS.png", 0x17d89953b9263939ull, 0xccee172e449e1aacull, 0},
    {"picture/rgb8i.png", 0x03d072d6552c973full, 0xccee172e449e1aacull, 0},
    {"picture/rgba16.png", 0xa06f7a473598e64full, 0xccee172e449e1aacull, 0},
    {"picture/colour.jpg", 0x8414635fbc4c6cbeull, 0x98457a502381be6bull, 1},
    {"picture/colour_prog.jpg", 0x90d1bd4bace47e43ull, 0x19c65dd49ff7985full, 1},
    {"picture/grey.jpg", 0xa55526a8a556e546ull, 0x62ab4fd04ecd330aull, 3},
    {"picture/meta-exif-icc.jpg", 0x8414635fbc4c6cbeull, 0x26bd9bec1a886457ull, 1},
    {"picture/testimgari.jpg", 0xf26648f5498fb33full, 0x2eb8b347fafa8a0dull, 5, 0xa1e4b58b3d513011ull},
    {"picture/testorig.jpg", 0x33063090e72761c5ull, 0x8c2957b4064dc0b5ull, 5},
    {"picture/bgra_fourth_byte.bmp", 0xc2445577892f6afaull, 0xccee172e449e1aacull, 0},
    {"picture/core8.bmp", 0xe7d7d80c1172140full, 0xccee172e449e1aacull, 0},
    {"picture/cut_pixels.bmp", 0x315446a086a23133ull, 0xccee172e449e1aacull, 0},
    {"picture/im-bgra.bmp", 0x523cebe2863cda6aull, 0xccee172e449e1aacull, 0},
    {"picture/im-pal8.bmp", 0xfdc22f249b08739dull, 0xccee172e449e1aacull, 0},
    {"picture/mono.bmp", 0x3dfe130e2096465bull, 0xccee172e449e1aacull, 0},
    {"picture/rgb24.bmp", 0xcbd7ce0b4740c0bfull, 0xccee172e449e1aacull, 0},
    {"picture/rgb565.bmp", 0xddb4e6a914513f38ull, 0xccee172e449e1aacull, 0},
    {"picture/rgba_v4.bmp", 0xc2445577892f6afaull, 0xccee172e449e1aacull, 0},
    {"picture/rle4.bmp", 0xe34f75140330a5b1ull, 0xccee172e449e1aacull, 0},
    {"picture/rle8.bmp", 0x4ba4b7fe2895e5c0ull, 0xccee172e449e1aacull, 0},
    {"picture/topdown32.bmp", 0x18b8cdf71f6316a1ull, 0x854da368b466dd97ull, 0},
    {"host_picture/badadler.png", 0x315446a086a23133ull, 0xccee172e449e1aacull, 0},
    {"host_picture/badcrc.png", 0x315446a086a23133ull, 0xccee172e449e1aacull, 0},
    {"host_picture/basn0g01.png", 0x6e84d84fe269a53full, 0xccee172e449e1aacull, 0},
    {"host_picture/basn0g16.png", 0xdf338ddbceac6e8full, 0xccee172e449e1aacull, 0},
    {"host_picture/basn2c16.png", 0x25f234f8f3805f0eull, 0xccee172e449e1aacull, 0},
    {"host_picture/basn3p01.png", 0x83f6a61fe9ac8199ull, 0xccee172e449e1aacull, 0},
    {"host_picture/basn4a08.png", 0x310df2a11eab66cfull, 0xccee172e449e1aacull, 0},
    {"host_picture/basn4a16.png", 0x4db0b9ef635ec04full, 0xccee172e449e1aacull, 0},
    {"host_picture/basn6a16.png", 0x08ca9c9125a2e53full, 0xccee172e449e1aacull, 0},
    {"host_picture/bgra_fourth_byte.bmp", 0xc2445577892f6afaull, 0xccee172e449e1aacull, 0},
    {"host_picture/cut-testorig.jpg", 0x315446a086a23133ull, 0xccee172e449e1aacull, 0},
    {"host_picture/cut_pixels.bmp", 0x315446a086a23133ull, 0xccee172e449e1aacull, 0},
    {"host_picture/ftbbn0g04.png", 0xa37315378d7a18a8ull, 0xccee172e449e1aacull, 0},
    {"host_picture/ftbbn3p08.png", 0xb83c81208fcc7eedull, 0xccee172e449e1aacull, 0},
    {"host_picture/ftbrn2c08.png", 0x2c2ade8d4148e6caull, 0xccee172e449e1aacull, 0},
    {"host_picture/ftp1n3p08.png", 0xb83c81208fcc7eedull, 0xccee172e449e1aacull, 0},
    {"host_picture/gray-16-tRNS.png", 0xef0cde276a70993full, 0xccee172e449e1aacull, 0},
    {"host_picture/gray-alpha-16.png", 0x0222143a439cd13full, 0xccee172e449e1aacull, 0},
    {"host_picture/huge-chunk-after-pixels.png", 0x315446a086a23133ull, 0x14650fb0739d0383ull, 0},
    {"host_picture/huge-text-chunk.png", 0x315446a086a23133ull, 0x14650fb0739d0383ull, 0},
    {"host_picture/huge_IDAT.png", 0x315446a086a23133ull, 0x14650fb0739d0383ull, 0},
    {"host_picture/ibasn3p08.png", 0x8a1df32435d9505bull, 0xccee172e449e1aacull, 0},
    {"host_picture/iftbbn2c16.png", 0x2c2ade8d4148e6caull, 0xccee172e449e1aacull, 0},
    {"host_picture/im-bgra.bmp", 0x523cebe2863cda6aull, 0xccee172e449e1aacull, 0},
    {"host_picture/im-cmyk.jpg", 0x315446a086a23133ull, 0xccee172e449e1aacull, 0},
    {"host_picture/im-ga.png", 0x92e78a08e1e7f35bull, 0xccee172e449e1aacull, 0},
    {"host_picture/im-grey.jpg", 0xca862b29b11b994full, 0x6484f999d17cf3c8ull, 1},
    {"host_picture/im-pal8.bmp", 0xfdc22f249b08739dull, 0xccee172e449e1aacull, 0},
    {"host_picture/meta-exif-icc.jpg", 0x8414635fbc4c6cbeull, 0x26bd9bec1a886457ull, 1},
    {"host_picture/meta-icc-exif-phys.png", 0x03d072d6552c973full, 0xccee172e449e1aacull, 0},
    {"host_picture/palette-4-tRNS.png", 0x17d89953b9263939ull, 0xccee172e449e1aacull, 0},
    {"host_picture/rgba_v4.bmp", 0xc2445577892f6afaull, 0xccee172e449e1aacull, 0},
    {"host_picture/testimgari.jpg", 0xf26648f5498fb33full, 0x2eb8b347fafa8a0dull, 5, 0xa1e4b58b3d513011ull},
    {"host_picture/testimgint.jpg", 0xf26648f5498fb33full, 0x86cdd11bcd8e789eull, 5},
    {"host_picture/testorig.jpg", 0x33063090e72761c5ull, 0x8c2957b4064dc0b5ull, 5},
    {"host_picture/testorig12.jpg", 0x315446a086a23133ull, 0xccee172e449e1aacull, 0},
};

} // namespace

TEST(IndexedReading, SampleFilesAndTheirCutsGiveTheirPinnedOutcomes) {
    const char* source = std::getenv("MORVESSAN_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    for (const Pin& pin : kPins) {
        const Bytes bytes = readFile((std::filesystem::path(source) / "tests/fuzz/corpus" / pin.file).string());
        ASSERT_FALSE(bytes.empty()) << pin.file;
        EXPECT_EQ(outcomeHash(bytes), pin.whole) << pin.file;
        std::uint64_t cuts = 1469598103934665603ull;
        int read = 0;
        // The huge-chunk files are about a chunk's declared size; their cuts add nothing.
        const bool huge = std::string_view(pin.file).find("/huge") != std::string_view::npos;
        for (std::size_t n = bytes.size() * 3 / 4; !huge && n < bytes.size(); n += bytes.size() / 20 + 1) {
            const Bytes cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(n));
            VXDecodedPicture p;
            read += decodeIndexed(cut, p);
            cuts = (cuts ^ outcomeHash(cut)) * 1099511628211ull;
        }
#if defined(WITH_SIMD)
        EXPECT_EQ(cuts, pin.cuts) << pin.file;
#else
        EXPECT_EQ(cuts, pin.cutsWithoutSimd != 0 ? pin.cutsWithoutSimd : pin.cuts) << pin.file;
#endif
        EXPECT_EQ(read, pin.cutsRead) << pin.file;
    }
}

TEST(IndexedReading, TheTextureMapTakesStoredValuesRawAndColoursAsLuminance) {
    ScratchFolder folder;
    PngRecipe palette = pngRecipe(3, 1, 3, 8);
    palette.paletteRGB = {255, 255, 255, 0, 0, 0, 90, 90, 90};
    folder.write("p.png", makePng(palette, [](int x, int, int) { return unsigned(x); }));
    VXImage2 map = prepareTextureMap(folder.file("p.png"));
    ASSERT_EQ(map.width(), 3);
    EXPECT_EQ(map.row(0)[0], 0); // the index, not the white it stands for
    EXPECT_EQ(map.row(0)[2], 2);

    PngRecipe rgb16 = pngRecipe(2, 1, 2, 16);
    folder.write("c.png", makePng(rgb16, [](int x, int, int c) { return x == 0 ? 0x80FFu : unsigned(c) * 0x4000u; }));
    map = prepareTextureMap(folder.file("c.png"));
    ASSERT_EQ(map.width(), 2);
    EXPECT_EQ(map.row(0)[0], 128);                                  // 0x80 cut, not 0x81 rounded
    EXPECT_EQ(map.row(0)[1], vxLuminance(vxRGB(0x00, 0x40, 0x80))); // 0.587 * 64 + 0.114 * 128

    folder.write("cmyk.jpg", makeCmykJpeg(8, 8));
    map = prepareTextureMap(folder.file("cmyk.jpg"));
    EXPECT_EQ(map.width(), kNeutralTextureSize);
    EXPECT_EQ(map.row(3)[3], kNeutralTextureValue);
}
