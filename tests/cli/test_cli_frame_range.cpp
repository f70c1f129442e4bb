// Sequences in slices: --frame-range renders frames from their numbers alone, so
// slices made apart equal the same frames of a whole run; frames to standard output.
#include "tests/cli/CliTest.h"

namespace {

class FrameRange : public Cli {
protected:
    static constexpr const char* kSequence =
        "render --quiet --size 40x30 --type cloud --seed 3 --frames 6 --per-frame-move 3,1 --per-frame-rotate 5 "
        "--per-frame-zoom 1.05 --per-frame-seed ";
};

} // namespace

TEST_F(FrameRange, SlicesEqualTheSameFramesOfAWholeRun) {
    ASSERT_EQ(run(std::string(kSequence) + p("whole-%d.png")).status, 0);
    ASSERT_EQ(run(std::string(kSequence) + "--frame-range 4:5 " + p("late-%d.png")).status, 0);
    ASSERT_EQ(run(std::string(kSequence) + "--frame-range 1:3 " + p("middle-%d.png")).status, 0);
    for (int k = 0; k < 6; ++k) {
        const std::string slice = (k >= 4 ? "late-" : "middle-") + std::to_string(k) + ".png";
        if (k == 0) {
            EXPECT_FALSE(fs::exists(at("middle-0.png")));
            EXPECT_FALSE(fs::exists(at("late-0.png")));
            continue;
        }
        EXPECT_EQ(readText(at(slice)), readText(at("whole-" + std::to_string(k) + ".png"))) << k;
    }
    EXPECT_NE(readText(at("whole-4.png")), readText(at("whole-5.png")));
}

TEST_F(FrameRange, FramesGoToStandardOutputOneAfterAnother) {
    ASSERT_EQ(run(std::string(kSequence) + "--frame-range 2:4 " + p("f-%d.png")).status, 0);
    const Result piped = run(std::string(kSequence) + "--frame-range 2:4 -");
    ASSERT_EQ(piped.status, 0) << piped.err;
    std::string expected = readText(at("f-2.png")) + readText(at("f-3.png")) + readText(at("f-4.png"));
#if defined(_WIN32)
    // run() takes the carriage returns out of what a program printed there.
    expected.erase(std::remove(expected.begin(), expected.end(), '\r'), expected.end());
#endif
    EXPECT_TRUE(piped.out == expected);
}

TEST_F(FrameRange, RangesOutsideTheSequenceAreRefused) {
    for (const char* bad : {"4:2", "0:6", "-1:2", "3", "a:b"}) {
        const Result r = run(std::string(kSequence) + "--frame-range " + bad + " " + p("bad-%d.png"));
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("--frame-range"), std::string::npos) << r.err;
    }
    const Result alone = run("render --quiet --size 8x8 --frame-range 0:1 " + p("alone.png"));
    EXPECT_EQ(alone.status, 2);
    EXPECT_NE(alone.err.find("--frame-range need --frames N"), std::string::npos) << alone.err;
    EXPECT_TRUE(fs::is_empty(m_dir / "presets"));
}
