// Pictures with sides past 16-bit coordinates: streamed into each format up to its
// own limit, the same pixels as the filter gives in process, and standard output
// copied out in pieces with the file's bytes.
#include "tests/cli/CliTest.h"

#include "host/FilterHost.h"

#include <png.h>

#include <cstring>
#include <optional>

namespace {

class CliBigPictures : public Cli {
protected:
    void SetUp() override {
        Cli::SetUp();
        ASSERT_EQ(run("params init " + p("b.bin"), false).status, 0);
    }

    // The block's texture over a blank canvas, rendered by the filter in this process.
    HostImage inProcess(std::int32_t w, std::int32_t h, std::int32_t planes,
                        std::optional<VXPSRect> rect = std::nullopt) const {
        const std::string block = readText(at("b.bin"));
        FilterHost host;
        host.setImage(HostImage(w, h, planes, planes == 4 ? 0 : 255));
        host.setFilterRect(rect);
        host.setParameterBytes(std::vector<std::uint8_t>(block.begin(), block.end()));
        EXPECT_EQ(host.run(), noErr);
        return host.image();
    }

    // Renders with the kept block (no preset, no field options).
    Result render(const std::string& options, const std::string& output) const {
        return run("render --quiet --params " + p("b.bin") + " " + options + " " + p(output));
    }
};

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    return std::uint32_t(std::uint8_t(bytes[at])) | std::uint32_t(std::uint8_t(bytes[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(bytes[at + 2])) << 16 | std::uint32_t(std::uint8_t(bytes[at + 3])) << 24;
}

std::uint32_t be32(const std::string& bytes, std::size_t at) {
    return std::uint32_t(std::uint8_t(bytes[at])) << 24 | std::uint32_t(std::uint8_t(bytes[at + 1])) << 16 |
           std::uint32_t(std::uint8_t(bytes[at + 2])) << 8 | std::uint32_t(std::uint8_t(bytes[at + 3]));
}

// A 24-bit bitmap's pixels as RGB rows, top first; empty unless its header says w x h.
std::vector<std::uint8_t> bitmapPixels(const std::string& file, std::int32_t w, std::int32_t h) {
    const std::size_t stride = (std::size_t(w) * 3 + 3) / 4 * 4;
    if (file.size() != 54 + stride * h || le32(file, 18) != std::uint32_t(w) || le32(file, 22) != std::uint32_t(h) ||
        le32(file, 2) != file.size()) {
        return {};
    }
    std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
    for (std::int32_t y = 0; y < h; ++y) {
        const char* row = file.data() + 54 + (h - 1 - y) * stride;
        for (std::int32_t x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                rgb[(std::size_t(y) * w + x) * 3 + c] = std::uint8_t(row[x * 3 + 2 - c]);
            }
        }
    }
    return rgb;
}

// A PNG decoded by libpng itself (past the sides this program reads), 8 bits a sample.
std::vector<std::uint8_t> pngPixels(const fs::path& path, std::int32_t w, std::int32_t h, std::int32_t planes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.string().c_str())) {
        return {};
    }
    image.format = planes == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    const bool read = png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) != 0;
    if (!read || image.width != std::uint32_t(w) || image.height != std::uint32_t(h)) {
        return {};
    }
    return pixels;
}

// The frame size a baseline JPEG's SOF0 marker gives.
std::pair<std::uint32_t, std::uint32_t> jpegSize(const std::string& file) {
    const std::size_t at = file.find("\xFF\xC0");
    if (at == std::string::npos || at + 9 > file.size()) {
        return {0, 0};
    }
    const auto word = [&](std::size_t i) {
        return std::uint32_t(std::uint8_t(file[i])) << 8 | std::uint8_t(file[i + 1]);
    };
    return {word(at + 7), word(at + 5)};
}

} // namespace

TEST_F(CliBigPictures, SidesPastSixteenBitsHoldTheFiltersPixels) {
    ASSERT_EQ(render("--size 40000x3", "wide.bmp").status, 0);
    const std::vector<std::uint8_t> wide = bitmapPixels(readText(at("wide.bmp")), 40000, 3);
    ASSERT_FALSE(wide.empty());
    EXPECT_EQ(wide, inProcess(40000, 3, 3).pixels);
    // Past x = 32767 the texture goes on: not the canvas, not a copy of the start.
    EXPECT_NE(std::memcmp(wide.data() + 39000 * 3, wide.data() + 1000 * 3, 300), 0);
    EXPECT_NE(wide[39999 * 3], 255);

    ASSERT_EQ(render("--size 3x40000 --background transparent", "tall.png").status, 0);
    const std::vector<std::uint8_t> tall = pngPixels(at("tall.png"), 3, 40000, 4);
    ASSERT_FALSE(tall.empty());
    EXPECT_EQ(tall, inProcess(3, 40000, 4).pixels);
    ASSERT_EQ(render("--size 3x40000", "tall.bmp").status, 0);
    EXPECT_EQ(bitmapPixels(readText(at("tall.bmp")), 3, 40000), inProcess(3, 40000, 3).pixels);
}

TEST_F(CliBigPictures, ARectanglePastSixteenBitsIsTheOnlyPartRendered) {
    ASSERT_EQ(render("--size 40000x2 --rect 33000,1,500,1", "rect.bmp").status, 0);
    const std::vector<std::uint8_t> pixels = bitmapPixels(readText(at("rect.bmp")), 40000, 2);
    ASSERT_EQ(pixels, inProcess(40000, 2, 3, VXPSRect{33000, 1, 33500, 2}).pixels);
    for (std::int32_t x = 0; x < 40000; ++x) {
        const bool inside = x >= 33000 && x < 33500;
        ASSERT_EQ(pixels[std::size_t(x) * 3], 255) << x; // the first row is never in it
        if (!inside) {
            ASSERT_EQ(pixels[(40000 + std::size_t(x)) * 3], 255) << x;
        }
    }
    expectRefused(render("--size 40000x2 --rect 70000,0,1,1", "far.bmp"),
                  "rectangle position 70000 is outside 0..65535", "far.bmp");
    expectRefused(render("--size 40000x2 --rect 39990,0,20,1", "over.bmp"),
                  "rectangle 39990,0,20,1 does not fit the 40000x2 image", "over.bmp");
}

TEST_F(CliBigPictures, EachFormatStopsAtItsOwnLimit) {
    ASSERT_EQ(render("--size 65500x2", "widest.jpg").status, 0);
    EXPECT_EQ(jpegSize(readText(at("widest.jpg"))), std::make_pair(65500u, 2u));
    expectRefused(render("--size 65501x2", "wider.jpg"),
                  "--size 65501x2: a picture of 65501x2 is larger than a JPEG file holds: at most 65500 pixels per "
                  "side",
                  "wider.jpg");
    expectRefused(render("--size 1x65501", "taller.JPEG"), "a JPEG file holds: at most 65500", "taller.JPEG");
    ASSERT_EQ(render("--size 65535x1", "widest.png").status, 0);
    const std::string png = readText(at("widest.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(be32(png, 16), 65535u);
    expectRefused(render("--size 65536x1", "wider.png"), "render writes as PNG: at most 65535 pixels per side",
                  "wider.png");
    expectRefused(render("--size 65536x1", "wider.bmp"), "render writes as a bitmap: at most 65535 pixels per side",
                  "wider.bmp");
    // A bitmap's size fields have 32 bits: 65535 x 21846 x 3 bytes is past 4 GiB.
    expectRefused(render("--size 65535x21846", "huge.bmp"),
                  "--size 65535x21846: a picture of 65535x21846 is larger than a bitmap file holds: at most 4 GiB "
                  "(a PNG holds it)",
                  "huge.bmp");
    // Frames and 16-bit pictures are checked the same way, before any work.
    expectRefused(render("--frames 2 --size 65501x1", "f-%d.jpg"), "a JPEG file holds", "f-0.jpg");
    expectRefused(render("--depth 16 --size 70000x1", "deep.png"), "at most 65535 pixels per side", "deep.png");
}

TEST_F(CliBigPictures, SixteenBitPicturesStreamPastSixteenBitsToo) {
    ASSERT_EQ(render("--height-map --size 40000x2", "height.png").status, 0);
    const std::string png = readText(at("height.png"));
    ASSERT_GT(png.size(), 25u);
    EXPECT_EQ(be32(png, 16), 40000u);
    EXPECT_EQ(be32(png, 20), 2u);
    EXPECT_EQ(png[24], 16);                                                     // bits a sample
    EXPECT_EQ(pngPixels(at("height.png"), 40000, 2, 3).size(), 40000u * 2 * 3); // libpng reads it whole
}

TEST_F(CliBigPictures, StandardOutputPastOnePieceIsTheFilesBytes) {
    ASSERT_EQ(render("--size 1024x768", "file.png").status, 0);
    ASSERT_GT(fs::file_size(at("file.png")), std::uintmax_t(1) << 18); // more than one piece of the copy
    const Result piped = run("render --quiet --params " + p("b.bin") + " --size 1024x768 -");
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_TRUE(readText(lastOutput()) == readText(at("file.png")));
}
