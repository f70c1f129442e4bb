// --pattern-size: a pattern of fixed size in pixels whatever the canvas, so a wider
// canvas shows more of the same pattern instead of stretching it.
#include "tests/cli/CliTest.h"

namespace {

class PatternSize : public Cli {
protected:
    HostImage picture(const std::string& name) const {
        HostImage image;
        std::string error;
        EXPECT_TRUE(loadHostImage(at(name).string(), image, error)) << error;
        return image;
    }
    // Pixels and shape only: the files' metadata is no part of the pattern.
    static bool samePixels(const HostImage& a, const HostImage& b) {
        return a.width == b.width && a.height == b.height && a.planes == b.planes && a.pixels == b.pixels;
    }
    // The left `width` columns of `image`.
    static HostImage left(const HostImage& image, std::int32_t width) {
        HostImage part(width, image.height, image.planes);
        for (std::int32_t y = 0; y < image.height; ++y) {
            std::copy_n(image.pixel(0, y), static_cast<std::size_t>(width) * image.planes, part.pixel(0, y));
        }
        return part;
    }
};

} // namespace

TEST_F(PatternSize, AWiderCanvasShowsMoreOfTheSamePattern) {
    const std::string texture = " --quiet --type marble --seed 11 --octaves 6 --pattern-size 40 ";
    ASSERT_EQ(run("render --size 60x50" + texture + p("narrow.bmp")).status, 0);
    ASSERT_EQ(run("render --size 150x50" + texture + p("wide.bmp")).status, 0);
    EXPECT_TRUE(samePixels(left(picture("wide.bmp"), 60), picture("narrow.bmp")));
    // Without it the pattern stretches with the canvas, as it always has.
    ASSERT_EQ(run("render --size 60x50 --quiet --type marble --seed 11 --octaves 6 " + p("a.bmp")).status, 0);
    ASSERT_EQ(run("render --size 150x50 --quiet --type marble --seed 11 --octaves 6 " + p("b.bmp")).status, 0);
    EXPECT_FALSE(samePixels(left(picture("b.bmp"), 60), picture("a.bmp")));
}

TEST_F(PatternSize, TheCanvasSideAsPatternSizeChangesNothingOnASquareCanvas) {
    // There the filter rectangle already is the unit, so every step must act alike.
    const std::string steps =
        " --quiet --type wood --seed 4 --rotate 30 --move 5,-3 --scale 2,0.5 --zoom 1.5 "
        "--frames 3 --per-frame-rotate 7 --per-frame-move 2,1 --per-frame-zoom 1.1 ";
    ASSERT_EQ(run("render --size 64x64" + steps + p("plain-%d.bmp")).status, 0);
    ASSERT_EQ(run("render --size 64x64 --pattern-size 64" + steps + p("sized-%d.bmp")).status, 0);
    for (const char* frame : {"0", "1", "2"}) {
        EXPECT_TRUE(samePixels(picture(std::string("sized-") + frame + ".bmp"),
                               picture(std::string("plain-") + frame + ".bmp")))
            << frame;
    }
}

TEST_F(PatternSize, AppliesToPicturesAndRefusesSizesOutOfRange) {
    // A white picture, as the canvas of a render is.
    ASSERT_EQ(run("render --quiet --size 90x30 --opacity 0 " + p("in.bmp")).status, 0);
    const std::string fire = "--type fire --colours " + q("#301000@0,#FFE080@255");
    const Result applied = run("apply --quiet " + fire + " --pattern-size 30 " + p("in.bmp") + " " + p("out.bmp"));
    ASSERT_EQ(applied.status, 0) << applied.err;
    const HostImage out = picture("out.bmp");
    // Three squares of one pattern unit each: the first equals a 30x30 render of it.
    ASSERT_EQ(run("render --quiet --size 30x30 " + fire + " --pattern-size 30 " + p("unit.bmp")).status, 0);
    EXPECT_TRUE(samePixels(left(out, 30), picture("unit.bmp")));
    // 0 is the default: the filter rectangle is the unit.
    ASSERT_EQ(run("render --quiet --size 12x8 --type fire --pattern-size 0 " + p("zero.bmp")).status, 0);
    ASSERT_EQ(run("render --quiet --size 12x8 --type fire " + p("none.bmp")).status, 0);
    EXPECT_TRUE(samePixels(picture("zero.bmp"), picture("none.bmp")));
    for (const char* bad : {"-1", "-4", "x", "70000"}) {
        const Result r = run(std::string("render --quiet --size 8x8 --pattern-size ") + bad + " " + p("bad.bmp"));
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("--pattern-size"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(at("bad.bmp")));
    }
}
