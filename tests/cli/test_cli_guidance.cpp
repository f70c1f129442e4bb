// What the command line says when a name is mistyped or ambiguous, and what it
// does for names given in another case, missing output folders and random seeds.
#include "CliTest.h"

#include "cli/CliFields.h"
#include "job/NameSuggestions.h"

#include <iostream>

namespace {

using namespace morvessan::cli;

class CliGuidance : public Cli {};

TEST(Suggestions, NearestNamesWithinASlipOfTheKeys) {
    EXPECT_EQ(editDistance("marbel", "marble"), 1u); // two neighbours swapped
    EXPECT_EQ(editDistance("Bonfir", "bonfire"), 1u);
    EXPECT_EQ(editDistance("", "abc"), 3u);
    EXPECT_EQ(editDistance("kitten", "sitting"), 3u);
    EXPECT_EQ(didYouMean("rendr", {"render", "apply", "sheet"}), " (did you mean 'render'?)");
    EXPECT_EQ(didYouMean("Oaks", {"Oak", "Oak2", "Pine"}), " (did you mean 'Oak' or 'Oak2'?)");
    // Too far, or all of a short name changed: no guess.
    EXPECT_EQ(didYouMean("frobnicate", {"render", "apply"}), "");
    EXPECT_EQ(didYouMean("xy", {"ab"}), "");
    EXPECT_EQ(didYouMean("ab", {"abc"}), " (did you mean 'abc'?)");
    // Case alone: an exact name wins, otherwise every name equal but for case.
    EXPECT_EQ(caseMatches("oak", {"Oak", "OAK", "oak"}), std::vector<std::size_t>{2});
    EXPECT_EQ(caseMatches("oak", {"Oak", "OAK", "Pine"}), (std::vector<std::size_t>{0, 1}));
}

TEST_F(CliGuidance, MistypedNamesGetTheNearestOne) {
    expectRefused(run("rendr", false), "unknown command 'rendr' (did you mean 'render'?)");
    expectRefused(run("render --sise 8x8 " + p("o.png")),
                  "unknown option '--sise' for 'render' (did you mean '--size'?)", "o.png");
    expectRefused(run("render --size 8x8 --type marbel " + p("o.png")), "(did you mean 'marble'?)", "o.png");
    expectRefused(run("render --size 8x8 --set noiseSed=3 " + p("o.png")),
                  "unknown field 'noiseSed' (did you mean 'noiseSeed'?)", "o.png");
    expectRefused(run("params shwo " + p("b.bin"), false), "(did you mean 'show'?)");
    expectRefused(run("apply --output-dir " + p("out") + " --format pgn " + p("a.png")), "(did you mean 'png'?)");
    writePresetFile("Stones");
    expectRefused(run("render --size 8x8 --preset " + q("Grey Marbel") + " " + p("o.png")),
                  "no preset named 'Grey Marbel' in the library (did you mean 'Grey Marble'?)", "o.png");
    expectRefused(run("render --size 8x8 --preset-file Stone " + p("o.png")), "(did you mean 'Stones'?)", "o.png");
    expectRefused(run("render --size 8x8 --category Skyy " + p("o.png")), "(did you mean 'Sky'?)", "o.png");
    Result r = run("render --size 8x8 --frobnicate " + p("o.png"));
    EXPECT_EQ(r.err.find("did you mean"), std::string::npos) << r.err;
}

TEST_F(CliGuidance, PresetNamesMatchWithoutCaseUnlessThatIsAmbiguous) {
    writePresetFile("Stones");
    Result r =
        run("render --size 8x8 --preset-file stones --category sky --preset " + q("plain cloud") + " " + p("o.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("preset 'Plain Cloud' from Stones"), std::string::npos) << r.out;

    // The same name in two files: refused with both, until the file is given.
    fs::copy_file(at("presets/Stones.txt"), at("presets/Rocks.txt"));
    expectRefused(run("render --size 8x8 --preset " + q("Grey Marble") + " " + p("two.png")),
                  "--preset 'Grey Marble' is in two preset files: ", "two.png");
    r = run("render --size 8x8 --preset-file Rocks --preset " + q("grey marble") + " " + p("o.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("'Grey Marble' from Rocks"), std::string::npos) << r.out;
    // A file name in another case picks the file.
    r = run("sheet --quiet --preset-file STONES " + p("s.png"));
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(CliGuidance, OutputFolderIsMadeWhenMissing) {
    ASSERT_EQ(run("render --quiet --size 8x8 --type fire " + p("a.png")).status, 0);
    Result r = run("apply --quiet --type wood --output-dir " + p("new/deeper") + " " + p("a.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_regular_file(at("new/deeper/a.png")));
    // A file where the folder would be is no folder, and nothing is written.
    std::ofstream(at("plain")) << "x";
    expectRefused(run("apply --quiet --output-dir " + p("plain/sub") + " " + p("a.png")), "--output-dir '");
    expectRefused(run("apply --quiet --output-dir " + p("plain") + " " + p("a.png")), "is not a folder");
    EXPECT_EQ(readText(at("plain")), "x");
}

TEST(RandomSeed, NeverZeroWhichWouldDrawANewPatternEachRun) {
    const Arguments args("render", {"--seed", "random"}, fieldValuedOptions(), fieldFlagOptions());
    std::ostringstream printed;
    std::streambuf* const kept = std::cerr.rdbuf(printed.rdbuf());
    std::int32_t lowest = 10000;
    std::int32_t highest = 0;
    for (int i = 0; i < 30000; ++i) {
        const std::int32_t seed = *chooseRandomSeed(args);
        lowest = std::min(lowest, seed);
        highest = std::max(highest, seed);
    }
    std::cerr.rdbuf(kept);
    EXPECT_GE(lowest, 1);
    EXPECT_LE(lowest, 10); // both ends are reached, however the draws fall
    EXPECT_LE(highest, 9999);
    EXPECT_GE(highest, 9990);
}

} // namespace

#if !defined(_WIN32)
namespace {

class CliShell : public Cli {
protected:
    // What the completion script offers for the words of `line`, the last one being
    // completed, one a line.
    std::string offered(const std::string& line) const {
        const std::string script = at("complete.sh").string();
        std::ofstream(script) << "source <(" << q(MORVESSAN_PROGRAM) << " completion bash)\n"
                              << "COMP_WORDS=(" << q(MORVESSAN_PROGRAM) << " " << line << ")\n"
                              << "COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
                              << "cd " << q(m_dir.string()) << " && _morvessan && printf '%s\\n' \"${COMPREPLY[@]}\"\n";
        const std::string out = at("offered.txt").string();
        std::system(("bash " + q(script) + " >" + q(out) + " 2>&1").c_str());
        return readText(out);
    }
};

TEST_F(CliShell, CompletionOffersNamesFilesOrNothingAsTheOptionTakes) {
    writePresetFile("Stones");
    const std::string dir = "--presets-dir " + p("presets");
    EXPECT_EQ(offered("render " + dir + " --preset 'Gr'"), "Grey Marble\n");
    EXPECT_EQ(offered("render " + dir + " --preset-file ''"), "Stones\n");
    EXPECT_EQ(offered("apply " + dir + " --category 'S'"), "Sky\nStone\n");
    // A typed value: nothing, not the names of files.
    EXPECT_EQ(offered("render --size ''"), "\n");
    EXPECT_EQ(offered("render --rotate ''"), "\n");
    // Every typed option of the table, those added since the list was typed by hand too.
    EXPECT_EQ(offered("render --quality ''"), "\n");
    EXPECT_EQ(offered("render --per-frame-evolve ''"), "\n");
    // Words where the option takes one of a few.
    EXPECT_EQ(offered("render --chroma ''"), "444\n420\n");
    EXPECT_EQ(offered("render --compression ''"), "fast\ndefault\nsmall\n");
    EXPECT_EQ(offered("render --type 'm'"), "marble\n");
    // A file where one is expected.
    EXPECT_EQ(offered("render --params 'pre'"), "presets\n");
    EXPECT_EQ(offered("params set b.bin 'noiseSe'"), "noiseSeed=\n");
    EXPECT_EQ(offered("render --set 'scaleBy'"), "scaleBySource=\n");
}

// A shared preset file chooses the names completion offers: they are text, never
// commands, and come back whole so that readline quotes them.
TEST_F(CliShell, CompletionNeverRunsOrExpandsTheNamesItOffers) {
    writePresetFile("Stones");
    const std::vector<std::string> hostile = {"$(touch PWNED)", "`touch PWNED2`", "${HOME}", "a;touch PWNED3",
                                              "Café * ?"};
    for (const std::string& name : hostile) {
        const Result added = run("presets add --preset-file Stones --category Stone --name " + q(name));
        ASSERT_EQ(added.status, 0) << name << added.err;
    }
    const std::string dir = "--presets-dir " + p("presets");
    const std::string all = offered("render " + dir + " --preset ''");
    for (const std::string& name : hostile) {
        EXPECT_NE(all.find(name + "\n"), std::string::npos) << name << "\n" << all;
    }
    EXPECT_EQ(all.find(fs::path(std::getenv("HOME") ? std::getenv("HOME") : "/nonexistent").string() + "\n"),
              std::string::npos);
    // The word being completed may be quoted or escaped as bash keeps it.
    EXPECT_EQ(offered("render " + dir + " --preset \"'\\$(to\""), "$(touch PWNED)\n");
    EXPECT_EQ(offered("render " + dir + " --preset '\\`touch'"), "`touch PWNED2`\n");
    EXPECT_EQ(offered("render " + dir + " --preset '\"${H'"), "${HOME}\n");
    EXPECT_EQ(offered("render " + dir + " --preset 'Caf'"), "Café * ?\n");
    for (const char* planted : {"PWNED", "PWNED2", "PWNED3"}) {
        EXPECT_FALSE(fs::exists(at(planted))) << planted;
    }
}

// Names the preset file keeps in Windows-1252 are offered as the terminal shows
// them, and what is offered chooses the preset.
TEST_F(CliShell, CompletionOffersNamesFromTheFilesCodePageInTheTerminals) {
    const std::string inFile =
        "Cr\xE8"
        "me Br\xFB"
        "l\xE9"
        "e"; // Windows-1252
    const std::string typed =
        "Cr\xC3\xA8"
        "me Br\xC3\xBB"
        "l\xC3\xA9"
        "e"; // UTF-8
    writePresetFile("Stones");
    std::string text = readText(at("presets/Stones.txt"));
    text.replace(text.find("Plain Cloud"), 11, inFile);
    std::ofstream(at("presets/Stones.txt"), std::ios::binary) << text;
    const std::string dir = "--presets-dir " + p("presets");
    EXPECT_EQ(offered("render " + dir + " --preset 'Cr'"), typed + "\n");
    const Result chosen = run("render --quiet --size 8x8 --preset " + q(typed) + " " + p("o.png"));
    EXPECT_EQ(chosen.status, 0) << chosen.err;
}

TEST_F(CliShell, TheProgressBarReachesTheEndAndLeavesSummariesTheirOwnLines) {
    if (!fs::exists("/usr/bin/script")) {
        GTEST_SKIP() << "no terminal to show a bar on";
    }
    // "script" gives the program a terminal, where the bar is drawn.
    writePresetFile("Stones");
    for (const std::string& command :
         {std::string("render --size 64x48 --frames 3 ") + p("f-%d.png"), std::string("sheet ") + p("sheet.jpg")}) {
        const std::string inner = q(MORVESSAN_PROGRAM) + " " + command + " --presets-dir " + p("presets");
        const std::string out = at("terminal.txt").string();
        ASSERT_EQ(std::system(("script -qec \"" + inner + "\" /dev/null >" + q(out)).c_str()), 0) << command;
        const std::string shown = readText(out);
        EXPECT_NE(shown.find("] 100%\r"), std::string::npos) << shown;
        std::size_t wrote = 0;
        int summaries = 0;
        for (; (wrote = shown.find("Wrote ", wrote)) != std::string::npos; ++wrote, ++summaries) {
            // Wiped first: the summary starts a line of its own.
            ASSERT_GT(wrote, 0u);
            EXPECT_TRUE(shown[wrote - 1] == '\r' || shown[wrote - 1] == '\n') << shown;
            EXPECT_EQ(shown.compare(wrote - 2, 2, " \r"), 0) << shown;
        }
        // A sequence says where it is on the bar, and one line for all its frames.
        EXPECT_EQ(summaries, 1) << shown;
        if (command.rfind("render", 0) == 0) {
            EXPECT_NE(shown.find("Rendering frame 3/3, "), std::string::npos) << shown;
            EXPECT_NE(shown.find(" left ["), std::string::npos) << shown;
            EXPECT_NE(shown.find("Wrote 3 frames, "), std::string::npos) << shown;
        }
    }
}

} // namespace
#endif

namespace {

class CliManual : public Cli {};

// The manual and each command's help name every option the command takes, as the
// completion script (made from the commands' own lists) offers them.
TEST_F(CliManual, EveryOptionIsDocumented) {
    const Result manual = run("manual", false);
    ASSERT_EQ(manual.status, 0) << manual.err;
    const Result script = run("completion bash", false);
    int checked = 0;
    for (const std::string command : {"render", "apply", "edit", "sheet", "presets"}) {
        const std::string key = "options=\"";
        const std::size_t at = script.out.find(key, script.out.find("    " + command + ")"));
        ASSERT_NE(at, std::string::npos) << command;
        std::istringstream names(
            script.out.substr(at + key.size(), script.out.find('"', at + key.size()) - at - key.size()));
        const std::string help = run(command + " --help", false).out;
        for (std::string name; names >> name; ++checked) {
            if (name == "--help") {
                continue;
            }
            std::string escaped;
            for (const char c : name) {
                escaped += c == '-' ? "\\-" : std::string(1, c);
            }
            EXPECT_NE(manual.out.find("\n.B " + escaped + "\n"), manual.out.find("\n.BI \"" + escaped + " \"")) << name;
            EXPECT_NE(help.find("  " + name + " "), std::string::npos) << command << " " << name;
        }
    }
    EXPECT_GT(checked, 60);
    for (const std::string section :
         {".SH FILES\n", ".SH ENVIRONMENT\n", ".SH FIELDS\n", ".B MORVESSAN_THREADS\n", ".B MORVESSAN_PRESET_FOLDER\n",
          ".B MORVESSAN_TEXTURE_FOLDER\n", ".B XDG_DATA_HOME\n"}) {
        EXPECT_NE(manual.out.find(section), std::string::npos) << section;
    }
}

} // namespace
