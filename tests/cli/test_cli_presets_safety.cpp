// The command line and the preset library under pressure: many adds at once on one
// file, and names a category already holds.
#include "tests/cli/CliTest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Runs the program from several threads at once: each run has files of its own.
Result runConcurrently(const std::string& command, const fs::path& out, const fs::path& err) {
    std::string line = q(MORVESSAN_PROGRAM) + " " + command + " >" + q(out.string()) + " 2>" + q(err.string());
#if defined(_WIN32)
    line = "\"" + line + "\"";
#endif
    int status = std::system(line.c_str());
#if !defined(_WIN32)
    status = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
#endif
    return Result{status, readText(out), readText(err)};
}

int countOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

class CliPresets : public Cli {};

} // namespace

TEST_F(CliPresets, PresetsAddedAtOnceToOneFileAreAllKept) {
    writePresetFile("Essentials");
    constexpr int kWriters = 12;
    constexpr int kEach = 3;
    std::atomic<int> failures{0};
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&, w] {
            for (int i = 0; i < kEach; ++i) {
                const std::string tag = std::to_string(w) + "-" + std::to_string(i);
                const Result r =
                    runConcurrently("presets add --presets-dir " + p("presets") + " --textures-dir " + p("textures") +
                                        " --preset-file Essentials --category Sky --name Q" + tag,
                                    at("out-" + tag + ".txt"), at("err-" + tag + ".txt"));
                if (r.status != 0 || r.out.find("Added") == std::string::npos) {
                    ++failures;
                }
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    EXPECT_EQ(failures.load(), 0);
    const std::string text = readText(at("presets/Essentials.txt"));
    EXPECT_EQ(countOf(text, "Preset 'Q"), kWriters * kEach);
    for (int w = 0; w < kWriters; ++w) {
        for (int i = 0; i < kEach; ++i) {
            EXPECT_EQ(countOf(text, "Preset 'Q" + std::to_string(w) + "-" + std::to_string(i) + "'"), 1);
        }
    }
    // The presets that were there before are there still.
    EXPECT_EQ(countOf(text, "Preset 'Grey Marble'"), 1);
    EXPECT_EQ(countOf(text, "Preset 'Plain Cloud'"), 1);
    const Result check = run("presets check " + p("presets/Essentials.txt"), false);
    EXPECT_EQ(check.status, 0) << check.out;
}

TEST_F(CliPresets, APresetNameACategoryHoldsIsRefused) {
    writePresetFile("Stones");
    const std::string before = readText(at("presets/Stones.txt"));
    const Result again = run("presets add --preset-file Stones --category Stone --name " + q("Grey Marble"));
    expectRefused(again, "cannot add a preset named 'Grey Marble' to Stones / Stone");
    EXPECT_NE(again.err.find("already used by another preset"), std::string::npos) << again.err;
    EXPECT_EQ(readText(at("presets/Stones.txt")), before);
    // The same name in another category, or another letter case, is a new preset.
    EXPECT_EQ(run("presets add --preset-file Stones --category Sky --name " + q("Grey Marble")).status, 0);
    EXPECT_EQ(run("presets add --preset-file Stones --category Stone --name " + q("grey marble")).status, 0);
}

// What is tuned on the command line is saved as it is: the preset renders as the
// same options do (numbers the preset format's six digits hold exactly), and what
// a preset cannot hold is refused.
TEST_F(CliPresets, PresetsAddTakesRendersTextureOptions) {
    const std::string options = "--type marble --seed 71 --octaves 9 --colours " + q("#102040@0,#E0C080@200") +
                                " --blur 4 --scale 2,4 --zoom 0.5";
    Result r = run("presets add --preset-file Tuned --category Mine --name Tuned " + options);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(run("render --quiet --size 1024x768 --preset Tuned " + p("preset.bmp")).status, 0);
    ASSERT_EQ(run("render --quiet --size 1024x768 " + options + " " + p("options.bmp")).status, 0);
    EXPECT_TRUE(readText(at("preset.bmp")) == readText(at("options.bmp")));
    expectRefused(run("presets add --preset-file Tuned --category Mine --name Other --set scaleBySource=on"),
                  "the block's own fields");
    expectRefused(run("presets add --preset-file Tuned --category Mine --name Other --per-frame-rotate 3"),
                  "--per-frame-rotate");
    expectRefused(run("presets add --preset-file Tuned --category Mine --name Other --octaves 13"), "noiseLevel");
    const Result listed = run("presets list");
    EXPECT_EQ(listed.out.find("Other"), std::string::npos) << listed.out;
}
