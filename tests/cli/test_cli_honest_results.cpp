// Commands that fail say so: output that could not be written, input beyond the
// limits, texture pictures that cannot be used, damaged preset files, and messages
// that name the real cause.
#include "tests/cli/CliTest.h"
#include "cli/CliFields.h"
#include "texture/FilterParameters.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace {

class CliHonest : public Cli {
protected:
    // A shell line of our own (pipes, environment, /dev/full), status and stderr caught.
    Result shell(const std::string& line) const {
        const std::string err = at("shell-err.txt").string();
        int status = std::system((line + " 2>" + q(err)).c_str());
#if !defined(_WIN32)
        status = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
#endif
        return Result{status, {}, readText(err)};
    }
    std::string program() const { return q(MORVESSAN_PROGRAM); }
    std::string folders() const { return " --presets-dir " + p("presets") + " --textures-dir " + p("textures"); }
};

// The shipped-style file of writePresetFile with its second preset's type line broken.
void damageSecondPreset(const fs::path& path) {
    std::string text = readText(path);
    const std::size_t second = text.find("Preset 'Plain Cloud'");
    ASSERT_NE(second, std::string::npos);
    text.replace(text.find("Type:", second), 5, "Tpye:");
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST_F(CliHonest, ParamsInitReplacesOnlyAParameterBlock) {
    save("photo.png", HostImage(4, 4, 3, 9));
    const std::string photo = readText(at("photo.png"));
    expectRefused(run("params init " + p("photo.png"), false), "is not a parameter block");
    EXPECT_EQ(readText(at("photo.png")), photo);
    writePresetFile("Stones");
    const std::string presets = readText(at("presets/Stones.txt"));
    expectRefused(run("params init " + p("presets/Stones.txt"), false), "it is kept");
    EXPECT_EQ(readText(at("presets/Stones.txt")), presets);
    // A block is written afresh, and written over.
    ASSERT_EQ(run("params init " + p("b.bin"), false).status, 0);
    ASSERT_EQ(run("params set " + p("b.bin") + " noiseSeed=77", false).status, 0);
    ASSERT_EQ(run("params init " + p("b.bin"), false).status, 0);
    EXPECT_NE(run("params show " + p("b.bin"), false).out.find("noiseSeed: 1\n"), std::string::npos);
}

#if !defined(_WIN32)
TEST_F(CliHonest, OutputThatCannotBeWrittenIsAFailure) {
    ASSERT_EQ(run("params init " + p("b.bin"), false).status, 0);
    writePresetFile("Stones");
    for (const std::string& command :
         {"params show --json " + p("b.bin"), "params show " + p("b.bin"), "presets list" + folders(),
          "presets check " + p("presets/Stones.txt"), std::string("completion bash"), std::string("--help"),
          std::string("--version"), "render --quiet --size 8x8 -" + folders()}) {
        const Result r = shell(program() + " " + command + " >/dev/full");
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_EQ(r.err, "morvessan: cannot write standard output: the disk is full\n") << command;
    }
}

TEST_F(CliHonest, AClosedPipeLeavesNoTemporaryFile) {
    fs::create_directories(at("tmp"));
    ASSERT_EQ(run("params init " + p("b.bin"), false).status, 0);
    shell("TMPDIR=" + p("tmp") + " " + program() + " render --quiet --size 1500x1500 --params " + p("b.bin") + " -" +
          folders() + " | head -c 100 >/dev/null");
    // Neither the picture's file for the pipe nor the block's replacement is left.
    for (const auto& entry : fs::directory_iterator(m_dir)) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
    EXPECT_TRUE(fs::is_empty(at("tmp")));
}

// What another user planted in the shared folder for temporary files is neither
// written, nor copied from, nor in the way.
TEST_F(CliHonest, StandardOutputIgnoresWhatOthersPlantInTheTemporaryFolder) {
    const fs::path tmp = at("tmp");
    fs::create_directories(tmp);
    const std::string pipe = "TMPDIR=" + p("tmp") + " " + program() + " render --quiet --size 300x200 -" + folders();
    ASSERT_EQ(shell(pipe + " >" + p("plain.png")).status, 0);
    const std::string expected = readText(at("plain.png"));
    ASSERT_GT(expected.size(), 1000u);

    std::ofstream(tmp / "morvessan-standard-output.png") << "planted";
    fs::permissions(tmp / "morvessan-standard-output.png", fs::perms::all);
    ASSERT_EQ(shell(pipe + " >" + p("over-file.png")).status, 0);
    EXPECT_EQ(readText(at("over-file.png")), expected);
    EXPECT_EQ(readText(tmp / "morvessan-standard-output.png"), "planted");
    fs::remove(tmp / "morvessan-standard-output.png");

    fs::create_directories(tmp / "morvessan-standard-output.png");
    const Result folder = shell(pipe + " >" + p("over-folder.png"));
    EXPECT_EQ(folder.status, 0) << folder.err;
    EXPECT_EQ(readText(at("over-folder.png")), expected);
    fs::remove(tmp / "morvessan-standard-output.png");

    fs::create_directories(at("elsewhere"));
    fs::create_symlink(at("elsewhere/victim.png"), tmp / "morvessan-standard-output.png");
    ASSERT_EQ(shell(pipe + " >" + p("over-link.png")).status, 0);
    EXPECT_EQ(readText(at("over-link.png")), expected);
    EXPECT_FALSE(fs::exists(at("elsewhere/victim.png")));
    fs::remove(tmp / "morvessan-standard-output.png");
    EXPECT_TRUE(fs::is_empty(tmp));
}

// A file-size limit fails the write with its cause instead of killing the program,
// so that nothing half-written is left beside the output or in the temporary folder.
TEST_F(CliHonest, AFileSizeLimitIsAFailureWithNothingLeft) {
    fs::create_directories(at("tmp"));
    fs::create_directories(at("out"));
    const Result file =
        shell("ulimit -f 8; " + program() + " render --quiet --size 600x600 " + p("out/big.png") + folders());
    EXPECT_EQ(file.status, 1);
    EXPECT_EQ(file.err, "morvessan: cannot write '" + at("out/big.png").string() +
                            "': the file would be larger than the system allows\n");
    EXPECT_TRUE(fs::is_empty(at("out")));
    const Result piped = shell("ulimit -f 8; TMPDIR=" + p("tmp") + " " + program() +
                               " render --quiet --size 600x600 -" + folders() + " >/dev/null");
    EXPECT_EQ(piped.status, 1);
    EXPECT_NE(piped.err.find("larger than the system allows"), std::string::npos) << piped.err;
    EXPECT_TRUE(fs::is_empty(at("tmp")));
}
#endif

TEST_F(CliHonest, StandardInputHasTheLimitsOfFiles) {
    std::ofstream(at("empty.png"), std::ios::binary).flush();
    expectRefused(run("apply - " + p("o.png") + " <" + p("empty.png")), "cannot read standard input: it is empty",
                  "o.png");
    // A PNG beginning with more bytes than the limit lets a picture file have.
    {
        std::ofstream big(at("big.png"), std::ios::binary);
        big << "\x89PNG\r\n\x1a\n";
        const std::string zeros(std::size_t(1) << 20, '\0');
        for (int i = 0; i < 65; ++i) {
            big << zeros;
        }
    }
    expectRefused(run("apply --max-pixels 1 - " + p("o.png") + " <" + p("big.png")),
                  "cannot read standard input: it is larger than 67108868 bytes", "o.png");
    std::ofstream(at("junk.png"), std::ios::binary) << std::string(100000, 'x');
    expectRefused(run("apply - " + p("o.png") + " <" + p("junk.png")),
                  "cannot read standard input: it is not a PNG, JPEG or bitmap picture", "o.png");
}

TEST_F(CliHonest, ATexturePictureThatCannotBeUsedIsReported) {
    std::ofstream(at("notes.txt")) << "no picture here\n";
    expectRefused(
        run("render --size 32x32 --picture " + p("notes.txt") + " --picture-amount 100 " + p("o.png")),
        "cannot use the texture picture '" + at("notes.txt").string() + "': it is not a PNG, JPEG or bitmap picture",
        "o.png");
    // A header of 11000 x 11000 pixels in 79 bytes.
    std::string huge(79, '\0');
    const unsigned char header[] = {'B', 'M', 79, 0,    0,    0, 0, 0,    0,    0, 54, 0, 0, 0,  40,
                                    0,   0,   0,  0xF8, 0x2A, 0, 0, 0xF8, 0x2A, 0, 0,  1, 0, 24, 0};
    std::copy(std::begin(header), std::end(header), huge.begin());
    std::ofstream(at("textures/huge.bmp"), std::ios::binary) << huge;
    expectRefused(run("render --size 32x32 --picture huge.bmp " + p("o.png")), "cannot use the texture picture",
                  "o.png");
    // A preset whose picture is missing from the textures folder.
    writePresetFile("Stones");
    std::string text = readText(at("presets/Stones.txt"));
    text.replace(text.find("Texture: 0 ''"), 13, "Texture: 50 'gone.png'");
    std::ofstream(at("presets/Stones.txt"), std::ios::binary) << text;
    expectRefused(run("render --size 8x8 --preset " + q("Grey Marble") + " " + p("o.png")), "gone.png': no such file",
                  "o.png");
    // The cause of a --picture that is no file, as it is.
    fs::create_directories(at("folder.png"));
    expectRefused(run("render --picture " + p("folder.png") + " " + p("o.png")), "': it is a folder", "o.png");
#if !defined(_WIN32)
    ASSERT_EQ(::mkfifo(at("fifo.png").string().c_str(), 0600), 0);
    expectRefused(run("render --picture " + p("fifo.png") + " " + p("o.png")),
                  "': it is not a regular file (a pipe, a device or a socket)", "o.png");
#endif
}

TEST_F(CliHonest, ADamagedPresetFileIsNamedWhereverItIsUsed) {
    writePresetFile("Stones");
    damageSecondPreset(at("presets/Stones.txt"));
    const Result sheet = run("sheet --quiet --size 32 --preset-file Stones " + p("s.png"));
    EXPECT_EQ(sheet.status, 1);
    EXPECT_NE(sheet.err.find("warning: '"), std::string::npos) << sheet.err;
    EXPECT_NE(sheet.err.find("was not read whole: line"), std::string::npos) << sheet.err;
    EXPECT_NE(sheet.err.find("the sheet shows only the presets before that"), std::string::npos) << sheet.err;
    const Result missing = run("render --size 8x8 --preset " + q("Plain Cloud") + " " + p("o.png"));
    expectRefused(missing, "no preset named 'Plain Cloud' in the library; '", "o.png");
    EXPECT_NE(missing.err.find("was not read whole"), std::string::npos) << missing.err;
    // A preset read whole from a damaged file is used, with the damage said.
    const Result found = run("render --quiet --size 8x8 --preset " + q("Grey Marble") + " " + p("o.png"));
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_NE(found.err.find("warning: '"), std::string::npos) << found.err;
}

TEST_F(CliHonest, JsonIsValidUtf8WhateverTheNamesHold) {
    // Windows-1252 names (the code page of the shipped files), and a block's bytes.
    std::ofstream(at("presets/Legacy.txt"), std::ios::binary)
        << "Category '\xE9t\xE9'\r\nPreset 'Caf\xE9 \x93"
           "dark\x94 \x81'\r\nType: Cloud\r\nNoiseLevel: 8\r\nNoiseSeed: 1\r\n"
           "Colours: FF000000, 0\r\nTotalOpacity: 100\r\nTransformation: 1, 0, 0, 0, 1, 0, 0, 0, 1\r\n";
    const Result list = run("presets list --json");
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("{\"name\": \"\xC3\xA9t\xC3\xA9\""), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("\"Caf\xC3\xA9 \xE2\x80\x9C"
                            "dark\xE2\x80\x9D \\u0081\""),
              std::string::npos)
        << list.out;
    // UTF-8 names stay as they are.
    std::ofstream(at("presets/Legacy.txt"), std::ios::binary) << "Category '\xC3\xA9t\xC3\xA9'\r\n";
    EXPECT_NE(run("presets list --json").out.find("\"\xC3\xA9t\xC3\xA9\""), std::string::npos);

    FilterParameters block;
    std::memset(static_cast<void*>(&block), 0, sizeof block);
    writeDefaultParameters(block);
    std::memcpy(block.presetFile, "A\xFF\x80\x01", 5);
    std::string error;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&block);
    ASSERT_TRUE(writeFileWhole(at("b.bin").string(), std::vector<std::uint8_t>(bytes, bytes + sizeof block), error));
    const Result show = run("params show --json " + p("b.bin"), false);
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("\"presetFile\": \"A\xC3\xBF\xE2\x82\xAC\\u0001\""), std::string::npos) << show.out;
}

TEST(FrameSequence, EachFrameCostsOneRoundOfStepsAndMatchesItsRoundsFromScratch) {
    const morvessan::cli::Arguments args(
        "render",
        {"--per-frame-rotate", "0.1", "--per-frame-move", "0.01,0.02", "--per-frame-zoom", "1.001", "--per-frame-seed"},
        morvessan::cli::fieldValuedOptions(), morvessan::cli::fieldFlagOptions());
    morvessan::cli::FieldEditContext context;
    context.width = 640;
    context.height = 480;
    TextureFields start;
    morvessan::cli::FrameSteps steps(args);
    TextureFields frame = start;
    for (const int frames : {500, 1000, 2000}) {
        morvessan::cli::FrameSteps sequence(args);
        for (int k = 0; k < frames; ++k) {
            frame = start;
            sequence.apply(frame, context, k);
        }
        EXPECT_EQ(sequence.rounds(), frames - 1);
    }
    // The last frame equals its rounds applied from frame 0 in one go.
    TextureFields once = start;
    steps.apply(once, context, 1999);
    EXPECT_EQ(std::memcmp(once.transformation.m, frame.transformation.m, sizeof once.transformation.m), 0);
    EXPECT_EQ(once.noiseSeed, frame.noiseSeed);
    EXPECT_EQ(frame.noiseSeed, (start.noiseSeed + 1999) % 32768);
    // Going back, or from other fields, starts again from frame 0.
    TextureFields back = start;
    steps.apply(back, context, 3);
    EXPECT_EQ(steps.rounds(), 1999 + 3);
    EXPECT_EQ(back.noiseSeed, start.noiseSeed + 3);
}

TEST_F(CliHonest, MessagesNameTheRealCause) {
#if !defined(_WIN32)
    const Result tmp =
        shell("TMPDIR=" + p("nowhere") + " " + program() + " render --quiet --size 8x8 -" + folders() + " >/dev/null");
    EXPECT_EQ(tmp.status, 1);
    EXPECT_EQ(tmp.err, "morvessan: the folder for temporary files '" + at("nowhere").string() +
                           "' (TMPDIR) is not a folder; standard output is written through it\n");
    // An encoder's write that failed is named by its cause, not as "a write error".
    const Result big =
        shell("trap '' XFSZ; ulimit -f 8; " + program() + " render --quiet --size 600x600 " + p("big.png") + folders());
    EXPECT_EQ(big.status, 1);
    EXPECT_EQ(big.err, "morvessan: cannot write '" + at("big.png").string() +
                           "': the file would be larger than the system allows\n");
    // The file a picture for standard output goes through is no name the user knows.
    const Result piped = shell("trap '' XFSZ; ulimit -f 8; " + program() + " render --quiet --size 600x600 -" +
                               folders() + " >/dev/null");
    EXPECT_EQ(piped.status, 1);
    EXPECT_EQ(piped.err,
              "morvessan: cannot write the picture for standard output: the file would be larger than "
              "the system allows\n");
    const Result env = shell("MORVESSAN_THREADS=junk MORVESSAN_SIMD=avx9 " + program() + " render --quiet --size 8x8 " +
                             p("env.png") + folders());
    EXPECT_EQ(env.status, 0);
    EXPECT_NE(env.err.find("warning: MORVESSAN_THREADS 'junk' is not a whole number from 1 to 64"), std::string::npos)
        << env.err;
    EXPECT_NE(env.err.find("warning: MORVESSAN_SIMD 'avx9' is not scalar, baseline, avx2 or avx512"), std::string::npos)
        << env.err;
#endif
    expectRefused(run("render --size 8x8 --max-pixels junk " + p("o.png")), "--max-pixels 'junk' is not a whole number",
                  "o.png");
    {
        std::ofstream utf16(at("wide.txt"), std::ios::binary);
        for (const char c : std::string("Category 'A'\r\n")) {
            utf16 << (c == 'C' && utf16.tellp() == 0 ? "\xFF\xFE" : "") << c << '\0';
        }
    }
    const Result wide = run("presets check " + p("wide.txt"), false);
    EXPECT_EQ(wide.status, 1);
    EXPECT_EQ(wide.out, at("wide.txt").string() +
                            ": reading stopped at line 1: it is UTF-16 text; preset files are 8-bit text (save it "
                            "as ANSI or UTF-8); 0 presets were read\n");
}

// A batch whose outputs collide with each other or with its inputs is refused before
// it writes anything: no input is lost, however the names meet.
TEST_F(CliHonest, ABatchNeverWritesOverItsInputsOrOneOutputTwice) {
    ASSERT_EQ(run("render --quiet --size 40x30 " + p("a.jpg")).status, 0);
    ASSERT_EQ(run("render --quiet --size 40x30 --type wood " + p("a.png")).status, 0);
    fs::create_directories(at("x"));
    fs::create_directories(at("y"));
    fs::copy_file(at("a.png"), at("x/a.png"));
    fs::copy_file(at("a.jpg"), at("y/a.png"));
    fs::copy_file(at("a.png"), at("y/b.png"));
    fs::copy_file(at("a.jpg"), at("y/c.jpg"));
    std::error_code noLink;
    fs::create_hard_link(at("y/b.png"), at("x/c.png"), noLink); // one file, two names
    const auto snapshot = [&] {
        std::string all;
        for (const auto& entry : fs::recursive_directory_iterator(m_dir)) {
            if (entry.is_regular_file() && entry.path().extension() != ".txt") {
                all += entry.path().string() + ":" + readText(entry.path()) + "|";
            }
        }
        return all;
    };
    const std::string before = snapshot();
    for (const auto& [line, said] : std::vector<std::pair<std::string, std::string>>{
             // a.jpg's output is a.png, an input not yet read.
             {"--output-dir " + p(".") + " --format png " + p("a.jpg") + " " + p("a.png"), "would both be written to"},
             {"--output-dir " + p("y") + " " + p("x/a.png") + " " + p("y/a.png"), "would both be written to"},
             {"--output-dir " + p("y") + " " + p("y/b.png") + " " + p("x/B.png"), "would both be written to"},
             // x/c.png, the output of y/c.jpg, is the input y/b.png under another name.
             {"--output-dir " + p("x") + " --format png " + p("y/c.jpg") + " " + p("y/b.png"), "is the input"},
         }) {
        if (noLink && said == "is the input") {
            continue;
        }
        const Result r = run("apply --quiet --type fire " + line);
        expectRefused(r, said);
        EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
        EXPECT_EQ(snapshot(), before) << line;
    }
}

// A transformation that cannot place a texture (not finite, or squeezing it onto a
// line) is never written into a block nor drawn: hosts with floating-point
// exceptions on would trap on it.
TEST_F(CliHonest, UnusableTransformationsAreRefusedWhereABlockIsWritten) {
    ASSERT_EQ(run("params init " + p("b.bin"), false).status, 0);
    const std::string plain = readText(at("b.bin"));
    for (const char* matrix : {"0,0,0,0,0,0,0,0,0", "1,2,0,2,4,0,0,0,1", "nan,0,0,0,1,0,0,0,1", "1,0,0,0,inf,0,0,0,1",
                               "1e300,0,0,0,1e300,0,0,0,1e300"}) {
        expectRefused(run("params set " + p("b.bin") + " transformation=" + matrix, false),
                      "the transformation cannot be used: ");
        EXPECT_EQ(readText(at("b.bin")), plain) << matrix;
        expectRefused(run("render --quiet --size 8x8 --set transformation=" + std::string(matrix) + " " + p("o.png")),
                      "--reset-transform", "o.png");
    }
    // Steps that leave the numbers' range: the block given is kept as it was.
    for (const char* steps : {"--zoom 1e-320", "--zoom 1e300", "--scale 1e-200,1e-200 --scale 1e-200,1e-200"}) {
        expectRefused(
            run("render --quiet --size 8x8 " + std::string(steps) + " --params " + p("b.bin") + " " + p("o.png")),
            "the transformation cannot be used: ", "o.png");
        EXPECT_EQ(readText(at("b.bin")), plain) << steps;
    }
    // A perspective with the horizon inside the picture is a usable transformation.
    ASSERT_EQ(run("params set " + p("b.bin") + " transformation=1,0,0,0,1,0,0.5,2,-0.5", false).status, 0);
    const Result drawn = run("render --quiet --size 16x16 --params " + p("b.bin") + " " + p("o.png"));
    EXPECT_EQ(drawn.status, 0) << drawn.err;
}

// Seed 0 in a sequence: one seed is drawn for every frame and said, so that the
// frames belong together and the run can be made again; a slice must be told it.
TEST_F(CliHonest, ASequenceAtSeedZeroDrawsOneSeedForEveryFrame) {
    const std::string line = "render --size 24x16 --frames 3 --seed 0 --per-frame-move 2,0 ";
    const Result whole = run(line + p("f-%d.png"));
    ASSERT_EQ(whole.status, 0) << whole.err;
    const std::size_t said = whole.err.find("morvessan: seed ");
    ASSERT_NE(said, std::string::npos) << whole.err;
    const std::string seed = whole.err.substr(said + 16, whole.err.find('\n', said) - said - 16);
    EXPECT_EQ(whole.err.find("morvessan: seed ", said + 1), std::string::npos) << "one seed for all frames";
    // Made again from the seed said, frame by frame and as a slice.
    const std::string again = "render --quiet --size 24x16 --frames 3 --seed " + seed + " --per-frame-move 2,0 ";
    ASSERT_EQ(run(again + p("g-%d.png")).status, 0);
    ASSERT_EQ(run(again + "--frame-range 1:2 " + p("h-%d.png")).status, 0);
    for (const char* k : {"0", "1", "2"}) {
        EXPECT_EQ(load(std::string("f-") + k + ".png").pixels, load(std::string("g-") + k + ".png").pixels) << k;
    }
    EXPECT_EQ(load("f-2.png").pixels, load("h-2.png").pixels);
    // The frames moved along one pattern: frame 0 is not frame 1.
    EXPECT_NE(load("f-0.png").pixels, load("f-1.png").pixels);
    expectRefused(run(line + "--frame-range 1:2 " + p("s-%d.png")), "give the seed a whole run printed", "s-1.png");
}
