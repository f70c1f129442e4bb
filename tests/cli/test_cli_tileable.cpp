// Seamless tiles and evolving loops from the command line: the wrap is no seam for
// every type and shipped preset, a loop's last frame flows into its first, and bad combinations are named.
#include "tests/cli/CliTest.h"
#include "tests/support/SeamRatio.h"

#include "job/JobPictureReader.h"
#include "tests/support/DeepPngReading.h"

#include <cmath>

namespace {

class Tileable : public Cli {
protected:
    using Seams = SeamRatio;
};

} // namespace

TEST_F(Tileable, EveryTypeTilesAtTwoSizes) {
    for (const char* type : {"cloud", "fire", "marble", "wood"}) {
        for (const char* size : {"128x128", "256x256"}) {
            Seams seams;
            for (int seed = 1; seed <= 10; ++seed) {
                // A name of its own each time: Wine may hold a finished program's file a moment longer.
                const std::string name = std::string(type) + size + "-" + std::to_string(seed) + ".bmp";
                const Result r = run(std::string("render --quiet --tileable --size ") + size + " --type " + type +
                                     " --seed " + std::to_string(seed) + " " + p(name));
                ASSERT_EQ(r.status, 0) << r.err;
                seams.add(load(name));
            }
            // A seam is a step larger than its neighbours'; without the wrap the step
            // at the edge is many times theirs. (Somewhat smaller is no seam: the finest
            // octaves alias against the pixels, and the wrap is one step of their cycle.)
            EXPECT_LE(seams.ratioX(), 1.1) << type << " " << size;
            EXPECT_LE(seams.ratioY(), 1.1) << type << " " << size;
            EXPECT_GE(seams.ratioX(), 0.8) << type << " " << size;
            EXPECT_GE(seams.ratioY(), 0.8) << type << " " << size;
        }
    }
    Seams plain;
    ASSERT_EQ(run("render --quiet --size 64x48 --type cloud " + p("plain.png")).status, 0);
    plain.add(load("plain.png"));
    EXPECT_GT(plain.ratioX(), 3.0);
}

#if !defined(_WIN32) // the same code on Windows; the whole library is slow there under Wine
TEST_F(Tileable, EveryShippedPresetTiles) {
    const Result list = run("presets list", false);
    ASSERT_EQ(list.status, 0);
    std::istringstream lines(list.out);
    int presets = 0;
    int presetRuns = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("    ", 0) != 0) {
            continue;
        }
        const std::string name = line.substr(4);
        // The brick picture lays a mortar line along its own edge, which falls on the wrap.
        if (name == "Brick Wall") {
            continue;
        }
        ++presets;
        Seams seams;
        // The 256-pixel texture pictures wrap on a canvas of their size.
        for (const char* move : {"0,0", "37,81", "150,20", "90,200"}) {
            const std::string picture = "preset-" + std::to_string(++presetRuns) + ".bmp";
            const Result r = run(
                "render --quiet --tileable --size 256x256 --preset " + q(name) + " --move " + move + " " + p(picture),
                false);
            ASSERT_EQ(r.status, 0) << name << ": " << r.err << r.out;
            seams.add(load(picture));
        }
        if (seams.nextX > 3.0) { // a wash within a level has no step to compare with
            EXPECT_LE(seams.ratioX(), 1.5) << name;
        }
        if (seams.nextY > 3.0) {
            EXPECT_LE(seams.ratioY(), 1.5) << name;
        }
    }
    EXPECT_GT(presets, 40);
}
#endif

TEST_F(Tileable, AHeightMapTilesAtFullDepth) {
    double wrap = 0;
    double beside = 0;
    for (int seed = 1; seed <= 6; ++seed) {
        const std::string name = "height-" + std::to_string(seed) + ".png";
        const Result r = run("render --quiet --size 128x96 --tileable --height-map --type fire --seed " +
                             std::to_string(seed) + " " + p(name));
        ASSERT_EQ(r.status, 0) << r.err;
        const test::DeepPng map = test::readDeepPng(at(name).string());
        ASSERT_EQ(map.bitDepth, 16);
        const auto at = [&](std::size_t x, std::size_t y) { return double(map.samples[y * map.width + x]); };
        for (std::size_t y = 0; y < map.height; ++y) {
            const std::size_t w = map.width;
            wrap += (at(w - 1, y) - at(0, y)) * (at(w - 1, y) - at(0, y));
            for (std::size_t k = 0; k < 4; ++k) {
                const double a = at(k + 1, y) - at(k, y);
                const double b = at(w - 1 - k, y) - at(w - 2 - k, y);
                beside += (a * a + b * b) / 8.0;
            }
        }
    }
    EXPECT_LE(std::sqrt(wrap / beside), 1.1);
    EXPECT_GE(std::sqrt(wrap / beside), 0.8);
    // Drawn in the program, not by the filter: what cannot tile is refused there too.
    const Result refused =
        run("render --quiet --size 16x16 --tileable --height-map --set "
            "transformation=1,0,0,0,1,0,0,0.3,1 " +
            p("refused.png"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("without perspective"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(at("refused.png")));
}

TEST_F(Tileable, ALoopsLastFrameFlowsIntoItsFirstAndSlicesAgree) {
    const std::string loop = "render --quiet --size 48x40 --type marble --seed 5 --loop 6 --per-frame-evolve 0.4 ";
    ASSERT_EQ(run(loop + p("f-%d.bmp")).status, 0);
    ASSERT_EQ(run(loop + "--frame-range 4:5 " + p("s-%d.bmp")).status, 0);
    EXPECT_EQ(readText(at("s-5.bmp")), readText(at("f-5.bmp")));
    const auto step = [&](int a, int b) {
        const HostImage x = load("f-" + std::to_string(a) + ".bmp");
        const HostImage y = load("f-" + std::to_string(b) + ".bmp");
        double sum = 0;
        for (std::size_t i = 0; i < x.pixels.size(); ++i) {
            const double d = double(x.pixels[i]) - y.pixels[i];
            sum += d * d;
        }
        return std::sqrt(sum / x.pixels.size());
    };
    double largest = 0;
    for (int k = 0; k + 1 < 6; ++k) {
        largest = std::max(largest, step(k, k + 1));
        EXPECT_GT(step(k, k + 1), 0.5) << k; // the pattern evolves
    }
    EXPECT_LE(step(5, 0), largest * 1.25);
    // Frame 6 would be frame 0: the sequence of 12 frames repeats.
    ASSERT_EQ(
        run("render --quiet --size 48x40 --type marble --seed 5 --frames 12 --per-frame-evolve 0.4 " + p("long-%d.bmp"))
            .status,
        0);
    EXPECT_NE(readText(at("long-6.bmp")), readText(at("long-0.bmp"))); // no loop without --loop
}

TEST_F(Tileable, CombinationsThatCannotWorkAreNamed) {
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"--loop 8", "--loop N needs --per-frame-evolve DZ"},
        {"--loop 8 --per-frame-evolve 1 --per-frame-rotate 3", "--loop cannot be combined with --per-frame-rotate"},
        {"--loop 8 --frames 9 --per-frame-evolve 1", "disagree"},
        {"--loop 1 --per-frame-evolve 1", "--loop"},
        {"--frames 3 --per-frame-evolve 1e9", "--per-frame-evolve DZ must be"},
        {"--per-frame-evolve 1", "need --frames N or --loop N"},
    };
    for (const auto& c : cases) {
        const Result r = run(std::string("render --quiet --size 8x8 ") + c.arguments + " " + p("x-%d.png"));
        EXPECT_EQ(r.status, 2) << c.arguments;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.arguments << ": " << r.err;
    }
    const Result perspective =
        run("render --quiet --size 8x8 --tileable --set transformation=1,0,0,0,1,0,0.2,0,1 " + p("p.png"));
    EXPECT_NE(perspective.status, 0);
    EXPECT_NE(perspective.err.find("without perspective"), std::string::npos) << perspective.err;
    EXPECT_FALSE(fs::exists(at("p.png")));
    const Result onApply = run("apply --tileable " + p("in.png") + " " + p("out.png"));
    EXPECT_EQ(onApply.status, 2);
}
