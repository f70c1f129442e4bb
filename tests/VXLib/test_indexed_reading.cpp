// The indexed form of the decoder against the readers texture pictures were read
// with before it: the same pictures refused, and of those read the same stored
// values, tables, transparent index, colours and alpha, so that no texture changes.
#include "VXLib/VXBitmapReader.h"
#include "VXLib/VXImageFile.h"
#include "VXLib/VXJpegReader.h"
#include "VXLib/VXPictureDecoder.h"
#include "VXLib/VXPngReader.h"
#include "VXLib/VXTextureMap.h"

#include "tests/VXLib/ImageMaker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>

using namespace morvessan;
using namespace morvessan::testing;

namespace {

// What a texture takes from a picture: whether it reads, its stored values or colours.
struct Outcome {
    bool read = false;
    int width = 0;
    int height = 0;
    bool oneByte = false;               // stored values (the map takes them as they are)
    std::vector<std::uint32_t> values;  // a value or a colour (red low) with alpha above
    std::vector<std::uint32_t> palette; // one byte: the table
    std::int32_t transparentIndex = -1; // one byte: a PNG palette's transparent entry
    bool alpha = false;                 // the alpha in `values` counts
    std::vector<std::uint8_t> map;      // the texture map made of it
};

Outcome outcomeOf(const VXImage2& image) {
    Outcome o;
    o.read = true;
    o.width = image.width();
    o.height = image.height();
    o.oneByte = image.bitCount() == 8;
    o.alpha = image.bitCount() == 32 && image.hasAlpha();
    o.transparentIndex = image.transparentColour();
    for (int i = 0; o.oneByte && i < 256; ++i)
        o.palette.push_back(vxColourOf(image.colourTable()[i]));
    for (int y = 0; y < o.height; ++y)
        for (int x = 0; x < o.width; ++x) {
            const std::uint32_t v = o.oneByte ? image.pixel(x, y)
                                    : o.alpha ? image.pixel(x, y)
                                              : image.pixelColour(x, y) & 0xFFFFFFu;
            o.values.push_back(v);
            o.map.push_back(o.oneByte ? std::uint8_t(v) : vxLuminance(v));
        }
    return o;
}

// As loadImageFile read every picture: bitmap, JPEG and PNG readers tried in turn.
Outcome before(const Bytes& bytes) {
    VXImage2 image;
    if (vxLoadBitmapMemory(bytes.data(), bytes.size(), image))
        return outcomeOf(image);
    image.reset();
    if (vxLoadJpegMemory(bytes.data(), bytes.size(), image))
        return outcomeOf(image);
    image.reset();
    if (vxLoadPngMemory(bytes.data(), bytes.size(), image))
        return outcomeOf(image);
    return {};
}

Outcome now(const Bytes& bytes) {
    VXPictureReading reading;
    reading.indexed = true;
    VXDecodedPicture picture;
    std::string error;
    std::string damage;
    Outcome o;
    if (!vxDecodePicture(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), reading, picture,
                         error, damage)) {
        EXPECT_FALSE(error.empty());
        return o;
    }
    o.read = true;
    o.width = picture.width;
    o.height = picture.height;
    o.oneByte = picture.planes == 1;
    o.alpha = picture.planes == 4;
    o.palette = picture.palette;
    o.transparentIndex = picture.transparentIndex;
    EXPECT_EQ(picture.palette.size(), o.oneByte ? 256u : 0u);
    for (std::size_t i = 0; i < picture.pixels.size(); i += std::size_t(picture.planes)) {
        const std::uint8_t* p = picture.pixels.data() + i;
        const std::uint32_t v = o.oneByte ? p[0] : vxRGB(p[0], p[1], p[2]) | (o.alpha ? std::uint32_t(p[3]) << 24 : 0);
        o.values.push_back(v);
        o.map.push_back(o.oneByte ? p[0] : vxLuminance(v));
    }
    return o;
}

// The outcomes agree; a 32-bit bitmap's fourth bytes count for neither. True when
// the picture was read.
bool expectSame(const Bytes& bytes, const std::string& what) {
    const Outcome old = before(bytes);
    Outcome got = now(bytes);
    EXPECT_EQ(got.read, old.read) << what;
    if (!old.read || !got.read)
        return false;
    EXPECT_EQ(got.width, old.width) << what;
    EXPECT_EQ(got.height, old.height) << what;
    EXPECT_EQ(got.oneByte, old.oneByte) << what;
    EXPECT_EQ(got.map, old.map) << what;
    if (old.oneByte) {
        EXPECT_EQ(got.palette, old.palette) << what;
        EXPECT_EQ(got.transparentIndex, old.transparentIndex) << what;
    }
    if (old.alpha)
        EXPECT_TRUE(got.alpha) << what;
    else
        for (std::uint32_t& v : got.values)
            v &= 0xFFFFFFu;
    EXPECT_EQ(got.values, old.values) << what;
    return true;
}

unsigned sampleOf(int x, int y, int c, int depth) {
    const unsigned max = (1u << depth) - 1;
    return (unsigned(x) * 37u + unsigned(y) * 101u + unsigned(c) * 59u) * (depth == 16 ? 257u + 3u : 1u) & max;
}

PngRecipe recipe(int colourType, int depth, bool interlaced) {
    PngRecipe s;
    s.width = 19;
    s.height = 11;
    s.colourType = colourType;
    s.bitDepth = depth;
    s.interlaced = interlaced;
    if (colourType == 3)
        for (int i = 0; i < (1 << depth); ++i)
            s.paletteRGB.insert(s.paletteRGB.end(), {std::uint8_t(i * 3), std::uint8_t(255 - i), std::uint8_t(i / 2)});
    return s;
}

std::uint32_t blocks(int x, int y) {
    return vxRGB(std::uint8_t(x * 9), std::uint8_t(250 - y * 7), std::uint8_t((x ^ y) * 13));
}

} // namespace

TEST(IndexedReading, PngOfEveryTypeAndDepthReadsAsBefore) {
    const int depths[7][5] = {{1, 2, 4, 8, 16}, {}, {8, 16}, {1, 2, 4, 8}, {8, 16}, {}, {8, 16}};
    for (const bool interlaced : {false, true})
        for (int type : {0, 2, 3, 4, 6})
            for (int depth : depths[type]) {
                if (depth == 0)
                    continue;
                const auto f = [depth](int x, int y, int c) { return sampleOf(x, y, c, depth); };
                const std::string what = "type " + std::to_string(type) + " depth " + std::to_string(depth) +
                                         (interlaced ? " interlaced" : "");
                expectSame(makePng(recipe(type, depth, interlaced), f), what);
                if (type == 0 || type == 2) {
                    PngRecipe keyed = recipe(type, depth, interlaced);
                    keyed.trnsKey = true;
                    expectSame(makePng(keyed, f), what + " with a key");
                }
                if (type == 3) {
                    const std::vector<std::vector<std::uint8_t>> chunks = {{0},        {255, 0},   {0, 255},
                                                                           {255, 255}, {100, 200}, {255, 255, 255, 7}};
                    for (const auto& alpha : chunks) {
                        if (alpha.size() > (1u << depth))
                            continue;
                        PngRecipe transparent = recipe(type, depth, interlaced);
                        transparent.trnsAlpha = alpha;
                        expectSame(makePng(transparent, f), what + " with tRNS of " + std::to_string(alpha.size()));
                    }
                }
            }
}

TEST(IndexedReading, JpegGreyColourProgressiveCmykAndCutReadAsBefore) {
    for (const bool progressive : {false, true}) {
        const Bytes grey = makeJpeg(37, 21, true, blocks, progressive);
        const Bytes colour = makeJpeg(37, 21, false, blocks, progressive);
        expectSame(grey, "grey");
        expectSame(colour, "colour");
        for (std::size_t n = 0; n < colour.size(); n += 13) {
            expectSame(Bytes(colour.begin(), colour.begin() + std::ptrdiff_t(n)), "colour cut at " + std::to_string(n));
            expectSame(Bytes(grey.begin(), grey.begin() + std::ptrdiff_t(std::min(n, grey.size()))),
                       "grey cut at " + std::to_string(n));
        }
    }
    expectSame(makeCmykJpeg(8, 8), "CMYK");
}

TEST(IndexedReading, BitmapsOfEveryDepthReadAsBefore) {
    for (const int bits : {1, 4, 8, 16, 24, 32}) {
        BmpRecipe s;
        s.width = 7;
        s.height = bits == 8 ? -3 : 3;
        s.bitCount = std::uint16_t(bits);
        for (int i = 0; bits <= 8 && i < (1 << bits); ++i)
            s.table.insert(s.table.end(), {std::uint8_t(i * 5), std::uint8_t(255 - i), std::uint8_t(i * 3), 0});
        const std::size_t stride = (std::size_t(7) * std::size_t(bits) + 31) / 32 * 4;
        for (std::size_t i = 0; i < stride * 3; ++i)
            s.pixels.push_back(std::uint8_t(i * 29 + 7));
        const Bytes file = makeBmp(s);
        expectSame(file, std::to_string(bits) + " bits");
        for (std::size_t n = 0; n < file.size(); n += 5)
            expectSame(Bytes(file.begin(), file.begin() + std::ptrdiff_t(n)),
                       std::to_string(bits) + " bits cut at " + std::to_string(n));
    }
    BmpRecipe rle;
    rle.width = 6;
    rle.height = 2;
    rle.bitCount = 8;
    rle.compression = 1;
    for (int i = 0; i < 256; ++i)
        rle.table.insert(rle.table.end(), {std::uint8_t(i), std::uint8_t(i / 2), 9, 0});
    rle.pixels = {3, 40, 0, 3, 1, 2, 3, 0, 0, 0, 6, 99, 0, 1};
    expectSame(makeBmp(rle), "run-length");
    rle.sizeImage = 40; // more than the file has
    expectSame(makeBmp(rle), "run-length cut");
}

// A file loads into the image the old readers gave (a bitmap of other than 8, 24 or
// 32 bits now as 24 bits of its colours), and into the same texture map.
void expectSameFromFile(const ScratchFolder& folder, const Bytes& bytes, const std::string& what) {
    folder.write("p", bytes);
    VXImage2 old;
    const bool oldRead = vxLoadBitmapMemory(bytes.data(), bytes.size(), old) ||
                         (old.reset(), vxLoadJpegMemory(bytes.data(), bytes.size(), old)) ||
                         vxLoadPngMemory(bytes.data(), bytes.size(), old);
    VXImage2 image;
    ASSERT_EQ(loadImageFile(folder.file("p"), image), oldRead) << what;
    const VXImage2 map = prepareTextureMap(folder.file("p"));
    if (!oldRead) {
        EXPECT_TRUE(image.isEmpty());
        EXPECT_EQ(map.width(), kNeutralTextureSize);
        return;
    }
    const Outcome expected = outcomeOf(old);
    EXPECT_TRUE(image.isTopDown()) << what;
    EXPECT_EQ(image.transparentColour(), -1) << what;
    const int bits = old.bitCount();
    EXPECT_EQ(image.bitCount(), bits == 8 || bits == 32 ? bits : 24) << what;
    EXPECT_EQ(image.hasAlpha(), image.bitCount() == 32) << what;
    if (bits == 8) {
        EXPECT_EQ(std::memcmp(image.colourTable(), old.colourTable(), 256 * sizeof(VXRGBQuad)), 0) << what;
    }
    std::vector<std::uint8_t> values;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const std::uint32_t v = image.pixel(x, y);
            ASSERT_EQ(bits == 8                      ? v
                      : bits == 32 && old.hasAlpha() ? v
                                                     : image.pixelColour(x, y) & 0xFFFFFFu,
                      expected.values[std::size_t(y) * std::size_t(image.width()) + std::size_t(x)])
                << what << " at " << x << "," << y;
        }
    ASSERT_EQ(map.width(), expected.width) << what;
    ASSERT_EQ(map.height(), expected.height) << what;
    for (int y = 0; y < map.height(); ++y)
        ASSERT_EQ(std::memcmp(map.row(y), expected.map.data() + std::size_t(y) * std::size_t(map.width()),
                              std::size_t(map.width())),
                  0)
            << what << " row " << y;
}

TEST(IndexedReading, EverySampleFileReadsAsBefore) {
    const char* source = std::getenv("MORVESSAN_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    int read = 0;
    const ScratchFolder folder;
    for (const char* kind : {"png", "jpeg", "bmp", "host_picture"})
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(source) / "tests/fuzz/corpus" / kind)) {
            const std::string name = entry.path().filename().string();
            const Bytes bytes = readFile(entry.path().string());
            read += expectSame(bytes, name);
            expectSameFromFile(folder, bytes, name);
            // The old PNG reader read a huge chunk's declared length of zeros past a cut.
            for (std::size_t n = bytes.size() * 3 / 4; name.rfind("huge", 0) != 0 && n < bytes.size();
                 n += bytes.size() / 20 + 1)
                expectSame(Bytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(n)),
                           name + " cut at " + std::to_string(n));
        }
    EXPECT_GT(read, 40);
}
