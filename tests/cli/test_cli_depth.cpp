// --depth 16 and --height-map on real files: full 16-bit PNG for libpng and
// ImageMagick, agreement with the 8-bit picture, the height map's exact levels,
// frames, and the combinations refused before anything is written.
#include "tests/cli/CliTest.h"
#include "tests/support/DeepPngReading.h"

#include "renderer/DeepPicture.h"

#include <set>

namespace {

class Depth : public Cli {
protected:
    test::DeepPng deep(const std::string& name) const { return test::readDeepPng(at(name).string()); }
};

const std::string kTexture = " --quiet --size 200x140 --type cloud --seed 9 --octaves 7 --grain 15 --blur 3 ";

} // namespace

TEST_F(Depth, SixteenBitsReducedAgreeWithTheEightBitPictureAndHaveNoBanding) {
    const std::string texture = kTexture + "--colours " + q("#10204000@0,#F0C080FF@255") + " ";
    for (const char* background : {"white", "#336699", "transparent"}) {
        const std::string canvas = " --background " + q(background) + " ";
        ASSERT_EQ(run("render" + texture + canvas + p("eight.png")).status, 0);
        const Result r = run("render" + texture + canvas + "--depth 16 " + p("sixteen.png"));
        ASSERT_EQ(r.status, 0) << r.err;
        const HostImage eight = load("eight.png");
        const test::DeepPng sixteen = deep("sixteen.png");
        ASSERT_EQ(sixteen.bitDepth, 16);
        ASSERT_EQ(sixteen.channels, eight.planes) << background;
        ASSERT_EQ(sixteen.samples.size(), eight.pixels.size());
        std::set<int> levels8;
        std::set<int> levels16;
        int worst = 0;
        for (std::size_t i = 0; i < eight.pixels.size(); ++i) {
            // Where 8 bits leave no opacity their colour is none; 16 bits may still have some.
            const std::size_t pixel = i - i % eight.planes;
            if (eight.planes == 4 && i % 4 != 3 && eight.pixels[pixel + 3] == 0) {
                continue;
            }
            worst = std::max(worst, std::abs((sixteen.samples[i] + 128) / 257 - eight.pixels[i]));
            if (i % eight.planes == 2) {
                levels8.insert(eight.pixels[i]);
                levels16.insert(sixteen.samples[i]);
            }
        }
        // The table truncates colour and opacity, and the 8-bit blend truncates too.
        EXPECT_LE(worst, 3) << background;
        EXPECT_GT(levels16.size(), 8 * levels8.size()) << background;
    }
}

TEST_F(Depth, TheHeightMapHoldsTheValuesAtFullDepth) {
    const Result r = run("render" + kTexture + "--params " + p("block.bin") + " --height-map " + p("height.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    const test::DeepPng map = deep("height.png");
    ASSERT_EQ(map.bitDepth, 16);
    ASSERT_EQ(map.channels, 1);
    ASSERT_EQ(map.width, 200u);
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(readParameterFile(at("block.bin").string(), bytes, error)) << error;
    const auto* block = reinterpret_cast<const FilterParameters*>(bytes.data());
    const std::vector<double> values = pictureTextureValues(block->texture, 200, 140, 128, nullptr);
    for (const std::size_t i : {0u, 199u, 128u * 200u + 128u, 139u * 200u + 5u, 200u * 140u - 1u}) {
        EXPECT_EQ(map.samples[i], heightLevel(values[i])) << i;
    }
    std::set<int> levels(map.samples.begin(), map.samples.end());
    EXPECT_GT(levels.size(), 5000u);
}

#if !defined(_WIN32)
TEST_F(Depth, ImageMagickReadsSixteenBits) {
    ASSERT_EQ(run("render" + kTexture + "--depth 16 " + p("colour.png")).status, 0);
    ASSERT_EQ(run("render" + kTexture + "--height-map " + p("height.png")).status, 0);
    for (const char* name : {"colour.png", "height.png"}) {
        const std::string command = "/usr/bin/identify -format %z " + p(name) + " >" + p("depth.txt");
        ASSERT_EQ(std::system(command.c_str()), 0) << name;
        EXPECT_EQ(readText(at("depth.txt")), "16") << name;
    }
}
#endif

TEST_F(Depth, EveryFrameIsSixteenBits) {
    const Result r = run("render" + kTexture + "--depth 16 --frames 2 --per-frame-move 5,0 " + p("f-%d.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    const test::DeepPng first = deep("f-0.png");
    const test::DeepPng second = deep("f-1.png");
    EXPECT_EQ(first.bitDepth, 16);
    EXPECT_EQ(second.bitDepth, 16);
    EXPECT_NE(first.samples, second.samples);
}

TEST_F(Depth, BadCombinationsAreRefusedAndWriteNothing) {
    ASSERT_EQ(run("render --quiet --size 20x20 " + p("in.png")).status, 0);
    const struct {
        std::string arguments;
        std::string message;
        std::string output;
    } cases[] = {
        {"render --depth 16 " + p("out.jpg"), "--depth 16 writes a 16-bit PNG: output", "out.jpg"},
        {"render --height-map " + p("out.bmp"), "must end in .png (JPEG and bitmap files hold 8 bits)", "out.bmp"},
        {"render --depth 12 " + p("out.png"), "--depth '12' is not 8 or 16", "out.png"},
        {"render --depth 8 --height-map " + p("out.png"), "which --depth 8 cannot hold", "out.png"},
        {"render --depth 16 --mask " + p("in.png") + " " + p("out.png"), "--mask and --rect belong to 8-bit",
         "out.png"},
        {"render --height-map --rect 0,0,5,5 " + p("out.png"), "--height-map draws the whole canvas", "out.png"},
        {"apply --depth 16 " + p("in.png") + " " + p("out.png"), "--depth 16 belongs to 'render'", "out.png"},
        {"apply --height-map " + p("in.png") + " " + p("out.png"), "--height-map belongs to 'render'", "out.png"},
        {"apply --depth 12 " + p("in.png") + " " + p("out.png"), "--depth 12 belongs to 'render'", "out.png"},
        {"edit --depth 16 " + p("in.png") + " " + p("out.png"), "--depth 16 is not 8", "out.png"},
        {"render --normal-map --height-map " + p("out.png"), "--normal-map writes normals, not heights", "out.png"},
        {"render --normal-map --depth 8 " + p("out.png"), "which --depth 8 cannot hold", "out.png"},
        {"render --normal-map " + p("out.jpg"), "--normal-map writes a 16-bit PNG", "out.jpg"},
        {"render --normal-strength 2 " + p("out.png"), "--normal-strength belongs to --normal-map", "out.png"},
        {"render --normal-map --normal-strength 0 " + p("out.png"), "--normal-strength 0 is outside", "out.png"},
        {"render --normal-map --normal-green left " + p("out.png"), "'left' is not up or down", "out.png"},
    };
    for (const auto& c : cases) {
        expectRefused(run(c.arguments), c.message, c.output);
    }
}

// The filter draws 8 bits: a 16-bit input, ours included, is never written back with
// 8 without being asked, in place or not, one input or a batch.
TEST_F(Depth, ASixteenBitInputIsNotWrittenBackWithEightBitsUnasked) {
    ASSERT_EQ(run("render" + kTexture + "--depth 16 " + p("h.png")).status, 0);
    ASSERT_EQ(run("render" + kTexture + "--height-map " + p("g.png")).status, 0);
    ASSERT_EQ(run("render" + kTexture + p("e.png")).status, 0);
    const std::string deep = readText(at("h.png"));
    const std::string grey = readText(at("g.png"));
    expectRefused(run("apply --opacity 0 " + p("h.png") + " " + p("h.png")),
                  "has 16 bits a channel and the filter draws 8: give --depth 8");
    EXPECT_EQ(readText(at("h.png")), deep);
    expectRefused(run("apply " + p("g.png") + " " + p("out.png")), "give --depth 8", "out.png");
    expectRefused(run("apply - " + p("out.png") + " <" + p("h.png")), "standard input has 16 bits", "out.png");
    fs::create_directories(at("batch"));
    const Result batch = run("apply --quiet --output-dir " + p("batch") + " " + p("e.png") + " " + p("g.png"));
    EXPECT_EQ(batch.status, 1);
    EXPECT_NE(batch.err.find("g.png' has 16 bits"), std::string::npos) << batch.err;
    EXPECT_TRUE(fs::exists(at("batch/e.png")));
    EXPECT_FALSE(fs::exists(at("batch/g.png")));
    EXPECT_EQ(readText(at("g.png")), grey);
    // Asked for, it is done.
    const Result asked = run("apply --quiet --depth 8 " + p("h.png") + " " + p("eight.png"));
    ASSERT_EQ(asked.status, 0) << asked.err;
    EXPECT_EQ(load("eight.png").width, load("h.png").width);
}
