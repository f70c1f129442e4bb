// What apply writes besides the pixels: the input's profile, EXIF block and
// resolution kept (checked by ImageMagick too when it is there) or stripped; JPEG
// quality and chroma; transparency flattened over the background with a note.
#include "tests/cli/CliTest.h"
#include "tests/support/TestPictures.h"

#include <cstdio>
#include <cstring>
#include <map>

namespace {

using test::iccProfile;

// Intel-order EXIF: orientation 6, 300 dots per inch.
std::vector<std::uint8_t> exifBlock() {
    return {'I', 'I', 42, 0, 8,  0, 0, 0, 4,    0, 0x12, 1, 3, 0, 1, 0, 0,  0, 6,  0, 0,    0, 0x1A, 1, 5, 0,
            1,   0,   0,  0, 62, 0, 0, 0, 0x1B, 1, 5,    0, 1, 0, 0, 0, 70, 0, 0,  0, 0x28, 1, 3,    0, 1, 0,
            0,   0,   2,  0, 0,  0, 0, 0, 0,    0, 44,   1, 0, 0, 1, 0, 0,  0, 44, 1, 0,    0, 1,    0, 0, 0};
}

HostImage pictureWithMetadata(std::int32_t planes) {
    HostImage image(40, 30, planes, 0);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = std::uint8_t(i * 13);
    }
    image.metadata.icc = iccProfile(6922);
    image.metadata.exif = exifBlock();
    image.metadata.dotsPerMetreX = 11811;
    image.metadata.dotsPerMetreY = 11811;
    return image;
}

#if !defined(_WIN32)
// What ImageMagick's own reader says; empty when Debian's identify is not there.
std::string identify(const std::string& format, const fs::path& file) {
    if (!fs::exists("/usr/bin/identify")) {
        return {};
    }
    const std::string command = "/usr/bin/identify -format " + q(format) + " " + q(file.string()) + " 2>/dev/null";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            out += buffer;
        }
        pclose(pipe);
    }
    return out;
}
#endif

class CliPictureOutput : public Cli {};

} // namespace

TEST_F(CliPictureOutput, ApplyKeepsTheProfileExifAndResolutionUnlessStripped) {
    const VXPictureMetadata kept = pictureWithMetadata(3).metadata;
    for (const std::string extension : {".png", ".jpg"}) {
        SCOPED_TRACE(extension);
        save("in" + extension, pictureWithMetadata(3));
        ASSERT_EQ(run("apply --quiet " + p("in" + extension) + " " + p("out" + extension)).status, 0);
        EXPECT_EQ(load("out" + extension).metadata, kept);
        // Into the other format as well.
        const std::string other = extension == ".png" ? ".jpg" : ".png";
        ASSERT_EQ(run("apply --quiet " + p("in" + extension) + " " + p("to" + other)).status, 0);
        EXPECT_EQ(load("to" + other).metadata, kept);
#if !defined(_WIN32)
        // ImageMagick 6 reads PNG's eXIf chunk as no profile: the orientation is checked in JPEG.
        const std::string seen = identify("%[profiles]|%x|%U|%[EXIF:Orientation]", at("out" + extension));
        if (!seen.empty()) {
            EXPECT_NE(seen.find("icc"), std::string::npos) << seen;
            const double resolution = std::stod(seen.substr(seen.find('|') + 1));
            const double inch = seen.find("PixelsPerCentimeter") != std::string::npos ? 2.54 : 1.0;
            EXPECT_NEAR(resolution * inch, 300.0, 0.01) << seen;
            if (extension == ".jpg") {
                EXPECT_EQ(seen.substr(seen.rfind('|') + 1), "6") << seen;
            }
        }
#endif
        ASSERT_EQ(run("apply --quiet --strip " + p("in" + extension) + " " + p("bare" + extension)).status, 0);
        EXPECT_TRUE(load("bare" + extension).metadata.empty());
    }
    // A bitmap keeps the resolution.
    ASSERT_EQ(run("apply --quiet " + p("in.png") + " " + p("out.bmp")).status, 0);
    EXPECT_EQ(load("out.bmp").metadata.dotsPerMetreX, 11811u);
    // A render makes a new picture: nothing to keep.
    ASSERT_EQ(run("render --quiet --size 8x8 " + p("new.png")).status, 0);
    EXPECT_TRUE(load("new.png").metadata.empty());
}

TEST_F(CliPictureOutput, QualityAndChromaAreCheckedAndChangeTheJpeg) {
    save("in.png", pictureWithMetadata(3));
    expectRefused(run("apply --quality 0 " + p("in.png") + " " + p("x.jpg")), "--quality", "x.jpg");
    expectRefused(run("apply --quality 101 " + p("in.png") + " " + p("x.jpg")), "--quality", "x.jpg");
    expectRefused(run("apply --chroma 422 " + p("in.png") + " " + p("x.jpg")), "--chroma '422' is not 444 or 420",
                  "x.jpg");
    expectRefused(run("apply --background red " + p("in.png") + " " + p("x.jpg")), "--background 'red'", "x.jpg");
    ASSERT_EQ(run("apply --quiet --strip --quality 100 --chroma 444 " + p("in.png") + " " + p("best.jpg")).status, 0);
    ASSERT_EQ(run("apply --quiet --strip --quality 10 " + p("in.png") + " " + p("worst.jpg")).status, 0);
    ASSERT_EQ(run("render --quiet --size 40x30 --quality 10 --chroma 420 " + p("render.jpg")).status, 0);
    EXPECT_GT(fs::file_size(at("best.jpg")), 2 * fs::file_size(at("worst.jpg")));
}

TEST_F(CliPictureOutput, TransparencyIntoJpegIsFlattenedOverTheBackgroundWithANote) {
    HostImage clear(8, 8, 4, 0); // clear black everywhere
    save("clear.png", clear);
    save("none.png", HostImage(8, 8, 3, 0)); // a mask that selects nothing: the pixels stay
    const std::string mask = " --mask " + p("none.png") + " ";
    Result r = run("apply --background " + q("#204060") + mask + p("clear.png") + " " + p("out.jpg"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("morvessan: note: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("flattened over #204060"), std::string::npos) << r.err;
    const HostImage out = load("out.jpg");
    ASSERT_EQ(out.planes, 3);
    EXPECT_NEAR(out.pixels[0], 0x20, 2);
    EXPECT_NEAR(out.pixels[1], 0x40, 2);
    EXPECT_NEAR(out.pixels[2], 0x60, 2);
    r = run("apply --quiet" + mask + p("clear.png") + " " + p("quiet.jpg"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    r = run("render --size 8x8 --background transparent " + p("render.jpg"));
    EXPECT_NE(r.err.find("flattened over #FFFFFF"), std::string::npos) << r.err;
    // PNG keeps the transparency: no note.
    r = run("apply " + p("clear.png") + " " + p("out.png"));
    EXPECT_EQ(r.err.find("note"), std::string::npos) << r.err;
}

TEST_F(CliPictureOutput, EveryCompressionKeepsThePixelsAndItsBytesOnAnyThreadCount) {
    const std::string texture = " --quiet --size 300x200 --type marble --seed 7 --grain 20 ";
    ASSERT_EQ(run("render" + texture + p("plain.bmp")).status, 0);
    const HostImage expected = load("plain.bmp");
    std::map<std::string, std::uintmax_t> sizes;
    for (const std::string level : {"fast", "default", "small"}) {
        SCOPED_TRACE(level);
        for (const std::string threads : {"1", "3"}) {
            const std::string name = level + "-" + threads + ".png";
            ASSERT_EQ(
                run("render" + texture + "--threads " + threads + " --compression " + level + " " + p(name)).status, 0);
            EXPECT_EQ(load(name).pixels, expected.pixels) << threads << " threads";
        }
        EXPECT_EQ(readText(at(level + "-1.png")), readText(at(level + "-3.png")));
        sizes[level] = fs::file_size(at(level + "-1.png"));
    }
    // Without the option: the default level.
    ASSERT_EQ(run("render" + texture + p("unsaid.png")).status, 0);
    EXPECT_EQ(readText(at("unsaid.png")), readText(at("default-1.png")));
    EXPECT_LT(sizes["small"], sizes["default"]);
    EXPECT_LT(sizes["default"], sizes["fast"]); // grain: level 2 where runs fail
    // A 16-bit picture takes the level too.
    ASSERT_EQ(run("render --quiet --size 64x40 --depth 16 --compression small " + p("deep-small.png")).status, 0);
    ASSERT_EQ(run("render --quiet --size 64x40 --depth 16 " + p("deep.png")).status, 0);
    EXPECT_NE(readText(at("deep-small.png")), readText(at("deep.png")));

    const Result wrong = run("render --size 8x8 --compression tiny " + p("x.png"));
    expectRefused(wrong, "--compression 'tiny' is not fast, default or small", "x.png");
    EXPECT_EQ(wrong.status, 2);
}
