// The decoding layer and the writers together: profile, EXIF, orientation and
// resolution through PNG, JPEG and bitmap files; JPEG quality and chroma;
// flattening; 16-bit rounding; three planes on request.
#include "VXLib/VXExifBlock.h"
#include "VXLib/VXImageWriter.h"
#include "VXLib/VXPictureDecoder.h"

#include "tests/VXLib/ImageMaker.h"
#include "tests/support/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string_view>

#include <jpeglib.h>

using namespace morvessan;
using namespace morvessan::testing;

namespace {

using test::iccProfile;

// Intel-order TIFF block: orientation, X and Y resolution, their unit.
Bytes exifBlock(std::uint16_t orientation, std::uint32_t resolution, std::uint16_t unit = 2) {
    Bytes b{'I', 'I', 42, 0, 8, 0, 0, 0, 4, 0};
    auto entry = [&b](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
        const std::uint8_t e[12] = {std::uint8_t(tag),
                                    std::uint8_t(tag >> 8),
                                    std::uint8_t(type),
                                    0,
                                    1,
                                    0,
                                    0,
                                    0,
                                    std::uint8_t(value),
                                    std::uint8_t(value >> 8),
                                    std::uint8_t(value >> 16),
                                    std::uint8_t(value >> 24)};
        b.insert(b.end(), e, e + 12);
    };
    entry(0x0112, 3, orientation);
    entry(0x011A, 5, 62);
    entry(0x011B, 5, 70);
    entry(0x0128, 3, unit);
    b.insert(b.end(), {0, 0, 0, 0});
    for (int i = 0; i < 2; ++i)
        b.insert(b.end(), {std::uint8_t(resolution), std::uint8_t(resolution >> 8), 0, 0, 1, 0, 0, 0});
    return b;
}

// An Intel-order block whose first directory gives orientation 6 and whose second
// points to a thumbnail.
Bytes exifWithThumbnail() {
    Bytes b{'I', 'I', 42, 0, 8, 0, 0, 0};
    const auto u16 = [&b](std::uint32_t v) { b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); };
    const auto u32 = [&b, &u16](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const auto entry = [&](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
        u16(tag);
        u16(type);
        u32(1);
        u32(value);
    };
    u16(1); // the first directory, at 8
    entry(0x0112, 3, 6);
    u32(26); // the second, at 26
    u16(2);
    entry(0x0201, 4, 56);
    entry(0x0202, 4, 20);
    u32(0);
    const char thumbnail[] = "\xFF\xD8THUMBNAIL-PIXELS\xFF\xD9";
    b.insert(b.end(), thumbnail, thumbnail + 20);
    return b;
}

bool holds(const Bytes& block, std::string_view text) {
    return std::search(block.begin(), block.end(), text.begin(), text.end()) != block.end();
}

struct Pixels {
    std::int32_t width;
    std::int32_t height;
    std::int32_t planes;
    Bytes data;
};

Pixels pattern(std::int32_t width, std::int32_t height, std::int32_t planes) {
    Pixels p{width, height, planes, Bytes(std::size_t(width) * height * planes)};
    for (std::size_t i = 0; i < p.data.size(); ++i)
        p.data[i] = std::uint8_t((i * 37) ^ (i >> 5));
    return p;
}

Bytes encode(const ScratchFolder& folder, const std::string& name, const Pixels& pixels,
             const VXPictureWriting& writing) {
    VXFileReplacement file;
    std::string error;
    const VXRgbPixels source{pixels.width, pixels.height, pixels.planes, pixels.data.data(),
                             std::size_t(pixels.width) * std::size_t(pixels.planes)};
    EXPECT_TRUE(file.begin(folder.file(name)) && writeImageFile(file, source, &error, writing) && file.commit())
        << error;
    return readFile(folder.file(name));
}

VXDecodedPicture decode(const Bytes& bytes, bool alpha = true) {
    VXPictureReading reading;
    reading.metadata = true;
    reading.transparencyAsAlpha = alpha;
    VXDecodedPicture picture;
    std::string error;
    std::string damage;
    EXPECT_TRUE(vxDecodePicture(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), reading,
                                picture, error, damage))
        << error;
    EXPECT_EQ(damage, "");
    return picture;
}

std::size_t countMarkers(const Bytes& file, std::uint8_t marker) {
    std::size_t count = 0;
    for (std::size_t i = 2; i + 4 <= file.size() && file[i] == 0xFF && file[i + 1] != 0xDA;
         i += 2 + (std::size_t(file[i + 2]) << 8 | file[i + 3]))
        count += file[i + 1] == marker ? 1 : 0;
    return count;
}

struct JpegSampling {
    int luma = 0;
    int chroma = 0;
};

struct SamplingReader {
    jpeg_error_mgr errors;
    std::jmp_buf jump;
    jpeg_decompress_struct info;
};

JpegSampling samplingOf(const Bytes& file) {
    SamplingReader r{};
    r.info.err = jpeg_std_error(&r.errors);
    r.errors.error_exit = [](j_common_ptr info) {
        std::longjmp(reinterpret_cast<SamplingReader*>(info->err)->jump, 1);
    };
    JpegSampling sampling;
    if (setjmp(r.jump) == 0) {
        jpeg_create_decompress(&r.info);
        jpeg_mem_src(&r.info, file.data(), static_cast<unsigned long>(file.size()));
        jpeg_read_header(&r.info, TRUE);
        sampling = {r.info.comp_info[0].h_samp_factor * 10 + r.info.comp_info[0].v_samp_factor,
                    r.info.comp_info[1].h_samp_factor * 10 + r.info.comp_info[1].v_samp_factor};
    }
    jpeg_destroy_decompress(&r.info);
    return sampling;
}

} // namespace

TEST(PictureMetadata, ProfileExifOrientationAndResolutionSurvivePngJpegAndBitmap) {
    ScratchFolder folder;
    VXPictureMetadata kept;
    kept.icc = iccProfile(6922);
    kept.exif = exifBlock(6, 300);
    kept.dotsPerMetreX = 11811; // 300 dots per inch
    kept.dotsPerMetreY = 2835;  // 72
    VXPictureWriting writing;
    writing.metadata = &kept;
    for (const char* name : {"m.png", "m.jpg"}) {
        SCOPED_TRACE(name);
        const VXDecodedPicture back = decode(encode(folder, name, pattern(9, 7, 3), writing));
        EXPECT_EQ(back.metadata, kept);
        EXPECT_EQ(vxReadExif(back.metadata.exif).orientation, 6);
    }
    const VXDecodedPicture bitmap = decode(encode(folder, "m.bmp", pattern(9, 7, 4), writing));
    EXPECT_EQ(bitmap.metadata.dotsPerMetreX, 11811u);
    EXPECT_EQ(bitmap.metadata.dotsPerMetreY, 2835u);
    EXPECT_TRUE(bitmap.metadata.icc.empty());

    // Written without any: read back without any.
    for (const char* name : {"n.png", "n.jpg", "n.bmp"})
        EXPECT_TRUE(decode(encode(folder, name, pattern(4, 4, 3), {})).metadata.empty()) << name;
}

TEST(PictureMetadata, JpegSplitsALargeProfileOverMarkersAndFallsBackToExifResolution) {
    ScratchFolder folder;
    VXPictureMetadata kept;
    kept.icc = iccProfile(150000);
    kept.exif = exifBlock(3, 118, 3); // 118 dots per centimetre
    VXPictureWriting writing;
    writing.metadata = &kept;
    const Bytes file = encode(folder, "big.jpg", pattern(8, 8, 3), writing);
    EXPECT_EQ(countMarkers(file, 0xE2), 3u); // 65519 bytes a marker at most
    const VXDecodedPicture back = decode(file);
    EXPECT_EQ(back.metadata.icc, kept.icc);
    // No JFIF density was written: the EXIF block's resolution is read.
    EXPECT_EQ(back.metadata.dotsPerMetreX, 11800u);
    EXPECT_EQ(back.metadata.dotsPerMetreY, 11800u);

    // A block libexif cannot read is not written; an EXIF block too large for one marker neither.
    kept.exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0};
    kept.icc.clear();
    EXPECT_TRUE(decode(encode(folder, "bad.jpg", pattern(8, 8, 3), writing)).metadata.exif.empty());
    EXPECT_TRUE(decode(encode(folder, "bad.png", pattern(8, 8, 3), writing)).metadata.exif.empty());
    kept.icc = iccProfile(6922);
    std::memcpy(kept.icc.data() + 16, "GRAY", 4); // a grey picture's, widened to colour since
    EXPECT_TRUE(decode(encode(folder, "grey.jpg", pattern(8, 8, 3), writing)).metadata.icc.empty());
    EXPECT_TRUE(decode(encode(folder, "grey.png", pattern(8, 8, 3), writing)).metadata.icc.empty());
    kept.icc.clear();
    kept.exif = exifBlock(1, 72);
    kept.exif.resize(70000);
    EXPECT_TRUE(decode(encode(folder, "huge.jpg", pattern(8, 8, 3), writing)).metadata.exif.empty());
    EXPECT_EQ(decode(encode(folder, "huge.png", pattern(8, 8, 3), writing)).metadata.exif, kept.exif);
}

// A changed picture's EXIF block loses its thumbnail, which would still show what
// the change covered, and keeps the rest; a block without one is kept byte for byte.
TEST(PictureMetadata, AThumbnailIsDroppedAndTheRestKept) {
    const Bytes original = exifWithThumbnail();
    ASSERT_TRUE(holds(original, "THUMBNAIL-PIXELS"));
    ASSERT_EQ(vxReadExif(original).orientation, 6);
    const Bytes stripped = vxExifWithoutThumbnail(original);
    ASSERT_FALSE(stripped.empty());
    EXPECT_FALSE(holds(stripped, "THUMBNAIL-PIXELS"));
    EXPECT_EQ(vxReadExif(stripped).orientation, 6);
    EXPECT_EQ(vxExifWithoutThumbnail(stripped), stripped);

    const Bytes plain = exifBlock(3, 300);
    EXPECT_EQ(vxExifWithoutThumbnail(plain), plain);
    EXPECT_TRUE(vxExifWithoutThumbnail({'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0}).empty());
    EXPECT_TRUE(vxExifWithoutThumbnail({}).empty());
}

// A profile larger than the format carries is left out whole: a JPEG's marker count
// and sequence bytes would wrap, and PNG readers would refuse the file.
TEST(PictureMetadata, AProfileTooLargeForTheFormatIsLeftOut) {
    ScratchFolder folder;
    VXPictureMetadata kept;
    VXPictureWriting writing;
    writing.metadata = &kept;
    kept.icc = iccProfile(std::uint32_t(kMaxJpegProfile));
    Bytes file = encode(folder, "most.jpg", pattern(8, 8, 3), writing);
    EXPECT_EQ(countMarkers(file, 0xE2), 255u);
    EXPECT_EQ(decode(file).metadata.icc, kept.icc);
    kept.icc = iccProfile(std::uint32_t(kMaxJpegProfile + 1));
    file = encode(folder, "over.jpg", pattern(8, 8, 3), writing);
    EXPECT_EQ(countMarkers(file, 0xE2), 0u);
    EXPECT_TRUE(decode(file).metadata.icc.empty());
    kept.icc = iccProfile(std::uint32_t(kMaxPngProfile + 1));
    EXPECT_TRUE(decode(encode(folder, "over.png", pattern(8, 8, 3), writing)).metadata.icc.empty());
    EXPECT_EQ(vxProfileLimit("a.PNG"), kMaxPngProfile);
    EXPECT_EQ(vxProfileLimit("a.jpeg"), kMaxJpegProfile);
    EXPECT_EQ(vxProfileLimit("a.bmp"), 0u);
}

TEST(PictureMetadata, ResolutionUnitsConvertBothWays) {
    EXPECT_EQ(vxDotsPerMetreFromInch(72, 1), 2835u);
    EXPECT_EQ(vxDotsPerMetreFromInch(300, 1), 11811u);
    EXPECT_EQ(vxDotsPerMetreFromInch(1, 0), 0u);
    EXPECT_EQ(vxDotsPerMetreFromCentimetre(118, 1), 11800u);
    EXPECT_EQ(vxDotsPerInch(2835), 72u);
    EXPECT_EQ(vxDotsPerInch(11811), 300u);
    EXPECT_EQ(vxDotsPerInch(0xFFFFFFFFu), 109092169u);
    EXPECT_FALSE(vxReadExif({'M', 'M', 0, 42}).valid);
}

TEST(PictureWriting, JpegQualityAndChromaChangeTheFile) {
    ScratchFolder folder;
    const Pixels noisy = pattern(64, 64, 3);
    VXPictureWriting writing;
    writing.quality = 100;
    const Bytes best = encode(folder, "q100.jpg", noisy, writing);
    writing.quality = 10;
    const Bytes worst = encode(folder, "q10.jpg", noisy, writing);
    EXPECT_GT(best.size(), 3 * worst.size());
    EXPECT_EQ(samplingOf(worst).luma, 22); // 4:2:0 by default
    EXPECT_EQ(samplingOf(worst).chroma, 11);
    writing.fullChroma = true;
    const Bytes full = encode(folder, "444.jpg", noisy, writing);
    EXPECT_EQ(samplingOf(full).luma, 11);
    EXPECT_EQ(samplingOf(full).chroma, 11);
}

TEST(PictureWriting, AlphaIsFlattenedOverTheBackgroundWhereTheFormatHasNone) {
    const std::uint8_t rgba[] = {255, 0, 0, 255, 255, 0, 0, 0, 200, 100, 0, 128, 10, 20, 30, 1};
    std::uint8_t rgb[12] = {};
    vxFlattenRow(rgba, rgb, 4, 0x00FF40); // #40FF00
    const std::uint8_t expected[] = {255, 0, 0, 64, 255, 0, 132, 177, 0, 64, 254, 0};
    EXPECT_EQ(Bytes(rgb, rgb + 12), Bytes(expected, expected + 12));

    ScratchFolder folder;
    Pixels half{16, 16, 4, Bytes(16 * 16 * 4)};
    for (std::size_t i = 0; i < half.data.size(); i += 4)
        half.data[i + 3] = 0; // clear black: the background alone
    VXPictureWriting writing;
    writing.background = 0x3060A0; // #A06030
    writing.quality = 100;
    writing.fullChroma = true;
    const VXDecodedPicture back = decode(encode(folder, "flat.jpg", half, writing));
    ASSERT_EQ(back.planes, 3);
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(back.pixels[c], (0x3060A0 >> (8 * c)) & 0xFF, 1) << c;
    EXPECT_TRUE(imageFileKeepsAlpha("a.PNG"));
    EXPECT_TRUE(imageFileKeepsAlpha("a.bmp"));
    EXPECT_FALSE(imageFileKeepsAlpha("a.jpeg"));
}

TEST(PictureDecoding, SixteenBitChannelsAreRoundedNotCut) {
    PngRecipe recipe;
    recipe.width = 256;
    recipe.height = 256;
    recipe.bitDepth = 16;
    recipe.interlaced = true;
    const VXDecodedPicture grey = decode(makePng(recipe, [](int x, int y, int) { return unsigned(y * 256 + x); }));
    ASSERT_EQ(grey.width, 256);
    EXPECT_EQ(grey.fileBits, 16); // so that a command can refuse to write it back with 8
    for (std::uint32_t v = 0; v < 65536; ++v)
        ASSERT_EQ(grey.pixels[std::size_t(v) * 3 + 1], (v * 255 + 32767) / 65535) << v;

    recipe.width = 2;
    recipe.height = 1;
    recipe.colourType = 6;
    recipe.interlaced = false;
    // Cut to their high bytes these would be 255 and 0.
    const VXDecodedPicture rgba =
        decode(makePng(recipe, [](int x, int, int c) { return x == 0 ? 0xFF00u : 0x00FFu + unsigned(c); }));
    const Bytes expected{254, 254, 254, 254, 1, 1, 1, 1};
    EXPECT_EQ(rgba.pixels, expected);
}

TEST(PictureDecoding, TransparencyIsDroppedWhenNotWantedAsAlpha) {
    PngRecipe recipe;
    recipe.colourType = 3;
    recipe.paletteRGB = {10, 20, 30, 40, 50, 60};
    recipe.trnsAlpha = {0, 128};
    const Bytes palette = makePng(recipe, [](int x, int, int) { return unsigned(x % 2); });
    EXPECT_EQ(decode(palette).planes, 4);
    const VXDecodedPicture solid = decode(palette, false);
    ASSERT_EQ(solid.planes, 3);
    EXPECT_EQ(Bytes(solid.pixels.begin(), solid.pixels.begin() + 6), (Bytes{10, 20, 30, 40, 50, 60}));
    recipe.colourType = 6;
    EXPECT_EQ(decode(makePng(recipe, [](int, int, int c) { return unsigned(c * 50); }), false).planes, 3);
}

TEST(PictureDecoding, ABitmapGivesItsResolutionAndAnEmbeddedProfileInsideTheFile) {
    BmpRecipe recipe;
    recipe.headerSize = 124;
    recipe.width = 2;
    recipe.height = 1;
    recipe.bitCount = 24;
    recipe.pixels = {1, 2, 3, 4, 5, 6, 0, 0};
    Bytes file = makeBmp(recipe);
    const Bytes profile = iccProfile(200);
    auto put32 = [&file](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = std::uint8_t(v >> (8 * i));
    };
    put32(14 + 56, 0x4D424544); // 'MBED'
    put32(14 + 112, std::uint32_t(file.size() - 14));
    put32(14 + 116, std::uint32_t(profile.size()));
    file.insert(file.end(), profile.begin(), profile.end());
    VXDecodedPicture picture = decode(file);
    EXPECT_EQ(picture.metadata.icc, profile);
    EXPECT_EQ(picture.metadata.dotsPerMetreX, 2835u);
    EXPECT_EQ(picture.pixels, (Bytes{3, 2, 1, 6, 5, 4}));
    // A profile said to reach past the end of the file is left out.
    put32(14 + 116, std::uint32_t(profile.size() + 1));
    EXPECT_TRUE(decode(file).metadata.icc.empty());
}
