// The command line on real files: every command once, and every way it refuses
// bad input with one line on stderr, a non-zero status and no output written.
#include "tests/cli/CliTest.h"
#include "job/JobFiles.h"
#include "presets/PresetFile.h"
#include "texture/FilterParameters.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <sys/wait.h>
#endif

using namespace morvessan;
namespace fs = std::filesystem;

namespace {

HostImage picture(std::int32_t w, std::int32_t h, std::int32_t planes) {
    HostImage image(w, h, planes);
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            std::uint8_t* px = image.pixel(x, y);
            px[0] = static_cast<std::uint8_t>(x * 3);
            px[1] = static_cast<std::uint8_t>(y * 5);
            px[2] = 90;
            if (planes == 4) {
                px[3] = static_cast<std::uint8_t>(x < w / 2 ? 255 : 60);
            }
        }
    }
    return image;
}

// A PNG of any colour type, with an optional tRNS chunk (palette alphas, or one grey).
void writePng(const fs::path& path, int colourType, int width, const std::vector<std::uint8_t>& row,
              const std::vector<png_color>& palette = {}, const std::vector<std::uint8_t>& alphas = {},
              int transparentGrey = -1) {
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), 1, 8, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) {
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    }
    png_color_16 grey{0, 0, 0, 0, png_uint_16(transparentGrey)};
    if (!alphas.empty() || transparentGrey >= 0) {
        png_set_tRNS(png, info, alphas.empty() ? nullptr : alphas.data(), int(alphas.size()),
                     transparentGrey >= 0 ? &grey : nullptr);
    }
    png_write_info(png, info);
    png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

// A 2 x 1 bitmap with a later header form: 124 bytes (32 bits with an alpha mask) or
// 108 bytes (24 bits), as common tools write them.
std::string laterBitmap(std::uint32_t headerSize) {
    const bool alpha = headerSize == 124;
    std::string header(headerSize, '\0');
    const auto put = [&header](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            header[at + i] = char(v >> (8 * i));
        }
    };
    put(0, headerSize);
    put(4, 2);                              // width
    put(8, 1);                              // height
    put(12, 1 | (alpha ? 32u : 24u) << 16); // one plane, then the bit count
    put(16, alpha ? 3 : 0);                 // bit fields, or plain pixels
    put(40, 0x00FF0000);
    put(44, 0x0000FF00);
    put(48, 0x000000FF);
    put(52, alpha ? 0xFF000000u : 0);
    const std::string pixels =
        alpha ? std::string("\x10\x20\x30\x40\x50\x60\x70\x80", 8) : std::string("\x10\x20\x30\x50\x60\x70\0\0", 8);
    std::string file = "BM" + std::string(12, '\0') + header + pixels;
    const std::uint32_t offset = 14 + headerSize;
    for (int i = 0; i < 4; ++i) {
        file[10 + i] = char(offset >> (8 * i));
    }
    return file;
}

} // namespace

TEST_F(Cli, RenderUsesAPresetOfTheLibraryOrTheDefaults) {
    Result r = run("render --size 64x48 --quiet " + p("plain.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const HostImage plain = load("plain.png");
    EXPECT_EQ(plain.width, 64);
    EXPECT_EQ(plain.height, 48);
    EXPECT_EQ(plain.planes, 3);

    writePresetFile("Stones");
    r = run("render --size 64x48 " + p("showcase.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Grey Marble"), std::string::npos) << r.out;
    EXPECT_NE(load("showcase.png").pixels, plain.pixels);
    // A parameter file that does not exist yet starts from the defaults.
    r = run("render --size 64x48 --quiet --params " + p("fresh.bin") + " " + p("fresh.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(load("fresh.png").pixels, plain.pixels);
    // One thread draws what every core draws.
    r = run("render --size 64x48 --quiet --threads 1 --params " + p("one.bin") + " " + p("one-thread.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(load("one-thread.png").pixels, plain.pixels);

    r = run("render --size 40x30 --background transparent --preset " + q("Plain Cloud") + " " + p("clear.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    const HostImage clear = load("clear.png");
    EXPECT_EQ(clear.planes, 4);

    r = run("render --size 40x30 --background " + q("#102030") + " --preset-file Stones --category Sky " +
            p("dark.bmp"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(load("dark.bmp").width, 40);
}

TEST_F(Cli, ApplyKeepsTheInputAndHonoursMaskRectAndPlanes) {
    save("in.png", picture(50, 40, 4));
    HostImage maskPicture(50, 40, 3, 0);
    for (std::int32_t x = 0; x < 50; ++x) {
        std::memset(maskPicture.pixel(x, 7), 255, 3);
    }
    save("mask.png", maskPicture);
    const std::string inputBytes = readText(at("in.png"));
    Result r = run("apply --quiet --mask " + p("mask.png") + " --rect 10,0,30,40 " + p("in.png") + " " + p("out.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readText(at("in.png")), inputBytes);
    const HostImage in = load("in.png");
    const HostImage out = load("out.png");
    ASSERT_EQ(out.planes, 4);
    for (std::int32_t y = 0; y < 40; ++y) {
        for (std::int32_t x = 0; x < 50; ++x) {
            const bool same = std::memcmp(in.pixel(x, y), out.pixel(x, y), 4) == 0;
            if (y != 7 || x < 10 || x >= 40) {
                ASSERT_TRUE(same) << x << "," << y;
            }
        }
    }
    EXPECT_NE(std::memcmp(in.pixel(20, 7), out.pixel(20, 7), 3), 0);

    // The same path on purpose replaces the input.
    r = run("apply --quiet " + p("in.png") + " " + p("in.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(readText(at("in.png")), inputBytes);
}

TEST_F(Cli, ParameterFileCarriesTheBlockFromRunToRun) {
    writePresetFile("Stones");
    Result r = run("render --quiet --size 20x20 --params " + p("block.bin") + " --preset " + q("Grey Marble") + " " +
                   p("a.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string bytes = readText(at("block.bin"));
    ASSERT_EQ(bytes.size(), kFilterParametersSize);
    FilterParameters block;
    std::memcpy(static_cast<void*>(&block), bytes.data(), sizeof block);
    EXPECT_EQ(block.texture.type, kMarble);
    EXPECT_STREQ(block.presetFile, "Stones");
    EXPECT_EQ(block.categoryIndex, 0);

    // The next run continues with the kept block, without preset options.
    r = run("render --quiet --size 20x20 --params " + p("block.bin") + " " + p("b.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(load("a.png").pixels, load("b.png").pixels);

    r = run("params show " + p("block.bin"), false);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("type: Marble\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("presetFile: Stones\n"), std::string::npos) << r.out;

    r = run("params init " + p("fresh.bin"), false);
    ASSERT_EQ(r.status, 0) << r.err;
    r = run("params show " + p("fresh.bin"), false);
    EXPECT_NE(r.out.find("type: Cloud\nnoiseLevel: 8\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("colours: #00000000@0,#FFFFFFFF@255\n"), std::string::npos) << r.out;
}

TEST_F(Cli, PresetsListCheckAddAndSheet) {
    writePresetFile("Stones");
    Result r = run("presets list");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Stones"), std::string::npos);
    EXPECT_NE(r.out.find("    Grey Marble\n"), std::string::npos) << r.out;

    r = run("presets check " + p("presets/Stones.txt"), false);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("read whole: 2 categories, 2 presets"), std::string::npos) << r.out;

    // A damaged block: reading stops there, and the exit status says so.
    std::string text = readText(at("presets/Stones.txt"));
    const std::size_t type = text.find("Type: Cloud");
    ASSERT_NE(type, std::string::npos);
    text.replace(type, 11, "Tpye: Cloud");
    std::ofstream(at("broken.txt"), std::ios::binary) << text;
    std::ofstream(at("tail.txt"), std::ios::binary) << readText(at("presets/Stones.txt")) << "garbage here\r\n";
    r = run("presets check " + p("presets/Stones.txt") + " " + p("broken.txt") + " " + p("tail.txt"), false);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.out.find("broken.txt: reading stopped at line"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("tail.txt: reading stopped at line"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("garbage here"), std::string::npos) << r.out;

    r = run("params init " + p("block.bin"), false);
    r = run("presets add --preset-file Stones --category Sky --name " + q("My Cloud") + " --params " + p("block.bin"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(readText(at("presets/Stones.txt")).find("'My Cloud'"), std::string::npos);
    r = run("presets add --preset-file " + q("Bad/Name") + " --category A --name B");
    expectRefused(r, "cannot add a preset file");

    r = run("sheet --quiet --size 32 " + p("sheet.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    const HostImage sheet = load("sheet.png");
    EXPECT_EQ(sheet.width, 10 + 3 * 42);
    EXPECT_EQ(sheet.height, 10 + 1 * (32 + 13 + 10));
}

TEST_F(Cli, BadInputIsRefusedWithOneLineAndNothingWritten) {
    expectRefused(run("apply " + p("missing.png") + " " + p("out.png")), "no such file", "out.png");
    std::ofstream(at("text.png")) << "not a picture";
    expectRefused(run("apply " + p("text.png") + " " + p("out.png")), "cannot read", "out.png");
    save("in.png", picture(20, 10, 3));
    save("small-mask.png", picture(10, 10, 3));
    expectRefused(run("apply --mask " + p("small-mask.png") + " " + p("in.png") + " " + p("out.png")), "mask",
                  "out.png");
    expectRefused(run("apply --rect 15,0,10,10 " + p("in.png") + " " + p("out.png")), "does not fit", "out.png");
    expectRefused(run("apply --rect 1,2,3 " + p("in.png") + " " + p("out.png")), "X,Y,W,H", "out.png");
    expectRefused(run("render --size 0x10 " + p("out.png")), "width", "out.png");
    expectRefused(run("render --size big " + p("out.png")), "WIDTHxHEIGHT", "out.png");
    expectRefused(run("render --background pink " + p("out.png")), "background", "out.png");
    expectRefused(run("render --threads 0 " + p("out.png")), "--threads", "out.png");
    expectRefused(run("render --frobnicate " + p("out.png")), "unknown option", "out.png");
    expectRefused(run("render " + p("out.gif")), ".png", "out.gif");
    expectRefused(run("render --preset Nothing " + p("out.png")), "no preset named", "out.png");
    expectRefused(run("frobnicate", false), "unknown command");
    expectRefused(run("params show " + p("in.png"), false), "exactly 832 bytes");

    // A good output stays as it was when a later run fails.
    ASSERT_EQ(run("render --quiet --size 8x8 " + p("good.png")).status, 0);
    const std::string good = readText(at("good.png"));
    std::ofstream(at("short.bin"), std::ios::binary) << "short";
    expectRefused(run("render --params " + p("short.bin") + " " + p("good.png")), "832");
    EXPECT_EQ(readText(at("good.png")), good);
}

TEST_F(Cli, EveryCommandExplainsItself) {
    for (const std::string command : {"--help", "render --help", "apply --help", "edit --help", "presets --help",
                                      "presets add --help", "sheet --help", "params --help", "params show --help"}) {
        const Result r = run(command, false);
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_EQ(r.out.rfind("usage: morvessan", 0), 0u) << command << ": " << r.out;
    }
    EXPECT_EQ(run("", false).status, 2);
#if !defined(_WIN32)
    // The dialog exists only in the Windows program; elsewhere edit says so and writes nothing.
    const Result edit = run("edit " + p("in.png") + " " + p("out.png"), false);
    EXPECT_EQ(edit.status, 2);
    EXPECT_NE(edit.err.find("Windows"), std::string::npos) << edit.err;
#endif
}

TEST_F(Cli, PresetFilesAreNeverCutDownOrTakenForMissing) {
    writePresetFile("Stones");
    std::string text = readText(at("presets/Stones.txt"));
    text.insert(text.find("Category 'Sky'"), "\r\n\r\n");
    std::ofstream(at("presets/Stones.txt"), std::ios::binary) << "\xEF\xBB\xBF" << text;
    Result r = run("presets add --preset-file Stones --category Sky --name Third");
    ASSERT_EQ(r.status, 0) << r.err;
    PresetFile back;
    back.setPath(at("presets/Stones.txt").string());
    ASSERT_TRUE(back.load());
    EXPECT_EQ(back.presetCount(0) + back.presetCount(1), 3);

    std::string broken = text;
    broken.replace(broken.find("Type: Marble"), 12, "Tpye: Marble");
    std::ofstream(at("presets/Broken.txt"), std::ios::binary) << broken;
    expectRefused(run("presets add --preset-file Broken --category Sky --name X"),
                  "Broken.txt' was not read whole: line 3: expected \"Type:\"");
    EXPECT_EQ(readText(at("presets/Broken.txt")), broken);
    EXPECT_FALSE(fs::exists(at("presets/Broken.bak")));

    fs::create_directory(at("presets/Gone.txt"));
    expectRefused(run("presets add --preset-file Gone --category A --name B"), "it is a folder; nothing was added");
    EXPECT_TRUE(fs::is_directory(at("presets/Gone.txt")));
    r = run("presets check " + p("presets"), false);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "cannot read '" + at("presets").string() + "': it is a folder\n");
}

TEST_F(Cli, OutputsAreReplacedWholeTogetherAndNeverThroughPlantedLinks) {
    save("in.png", picture(12, 8, 3));
#if !defined(_WIN32)
    std::ofstream(at("victim")) << "victim";
    for (const char* planted : {"out.png.part", "block.bin.tmp-morvessan", ".out.png.tmp"}) {
        fs::create_symlink(at("victim"), at(planted));
    }
    fs::permissions(at("in.png"), fs::perms::owner_read | fs::perms::owner_write);
#endif
    Result r = run("render --quiet --size 8x8 --params " + p("block.bin") + " " + p("out.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(run("apply --quiet " + p("in.png") + " " + p("in.png")).status, 0);
#if !defined(_WIN32)
    EXPECT_EQ(readText(at("victim")), "victim");
    EXPECT_EQ(fs::status(at("in.png")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
#endif
    // A block that cannot be written stops the run before the picture is written.
    fs::permissions(at("block.bin"), fs::perms::owner_read);
    expectRefused(run("render --quiet --size 8x8 --params " + p("block.bin") + " " + p("new.png")),
                  "block.bin': it is read-only", "new.png");
    expectRefused(run("render --params " + p("same.png") + " " + p("same.png")), "names the output picture",
                  "same.png");
#if !defined(_WIN32)
    // Stopped while rendering: the temporary files go too.
    const std::string command =
        "cd " + q(m_dir.string()) + " && { " + q(MORVESSAN_PROGRAM) +
        " render --quiet --size 4000x4000 big.png & pid=$!; until ls -a | grep -q "
        "'^[.]big[.]png[.].*[.]tmp$'; do sleep 0.02; done; kill -TERM $pid; wait $pid; } 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_FALSE(fs::exists(at("big.png")));
#endif
    for (const auto& entry : fs::directory_iterator(m_dir)) {
        EXPECT_TRUE(entry.path().extension() != ".tmp" || entry.is_symlink()) << entry.path();
    }
}

TEST_F(Cli, InputPicturesKeepTransparencyAndAreCheckedBeforeAnyWork) {
    expectRefused(run("render --size 65536x1 " + p("wide.png")),
                  "--size 65536x1: a picture of 65536x1 is larger than render writes as PNG: at most 65535 pixels "
                  "per side",
                  "wide.png");
    writePng(at("ga.png"), PNG_COLOR_TYPE_GRAY_ALPHA, 2, {10, 0, 200, 128});
    writePng(at("pal.png"), PNG_COLOR_TYPE_PALETTE, 2, {0, 1}, {{1, 2, 3}, {4, 5, 6}}, {77});
    writePng(at("grey.png"), PNG_COLOR_TYPE_GRAY, 2, {9, 50}, {}, {}, 50);
    std::ofstream(at("v5.bmp"), std::ios::binary) << laterBitmap(124);
    std::ofstream(at("v4.bmp"), std::ios::binary) << laterBitmap(108);
    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> expected = {
        {"ga.png", {10, 10, 10, 0, 200, 200, 200, 128}},  {"pal.png", {1, 2, 3, 77, 4, 5, 6, 255}},
        {"grey.png", {9, 9, 9, 255, 50, 50, 50, 0}},      {"v5.bmp", {0x30, 0x20, 0x10, 0x40, 0x70, 0x60, 0x50, 0x80}},
        {"v4.bmp", {0x30, 0x20, 0x10, 0x70, 0x60, 0x50}},
    };
    for (const auto& [name, pixels] : expected) {
        EXPECT_EQ(load(name).pixels, pixels) << name;
    }
    ASSERT_EQ(run("apply --quiet " + p("ga.png") + " " + p("ga-out.png")).status, 0);
    EXPECT_EQ(load("ga-out.png").planes, 4);

    // A JPEG whose header claims far more than its data holds is refused at once;
    // a cut one is read as far as it goes, with a warning (or refused when strict).
    save("small.jpg", picture(64, 64, 3));
    std::string jpeg = readText(at("small.jpg"));
    const std::size_t frame = jpeg.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    jpeg.replace(frame + 5, 4, "\x46\x50\x46\x50"); // 18000 x 18000
    std::ofstream(at("huge.jpg"), std::ios::binary) << jpeg.substr(0, jpeg.find("\xFF\xDA") + 40);
    expectRefused(run("apply " + p("huge.jpg") + " " + p("out.png")),
                  "huge.jpg': it is 18000x18000, more than the limit of 128 megapixels for input pictures", "out.png");
    std::ofstream(at("cut.jpg"), std::ios::binary) << readText(at("small.jpg")).substr(0, jpeg.find("\xFF\xDA") + 200);
    Result r = run("apply --quiet " + p("cut.jpg") + " " + p("cut.png"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "morvessan: warning: '" + at("cut.jpg").string() +
                         "' is damaged (the file ends early); using what could be read of it\n");
    expectRefused(run("apply --strict " + p("cut.jpg") + " " + p("strict.png")), "it is damaged", "strict.png");

    expectRefused(run("apply " + p("textures") + " " + p("out.png")), "textures': it is a folder", "out.png");
#if !defined(_WIN32)
    ASSERT_EQ(::mkfifo(at("fifo").string().c_str(), 0644), 0);
    expectRefused(run("render --params " + p("fifo") + " " + p("out.png")), "it is not a regular file", "out.png");
    expectRefused(run("apply /dev/zero " + p("out.png")), "it is not a regular file", "out.png");
#endif
}

TEST_F(Cli, StoredFlagsSwitchOffAndNamesArePrintedSafely) {
    ASSERT_EQ(run("render --quiet --size 8x8 --scale-by-source --params " + p("b.bin") + " " + p("a.png")).status, 0);
    EXPECT_NE(run("params show " + p("b.bin"), false).out.find("scaleBySource: on"), std::string::npos);
    ASSERT_EQ(run("render --quiet --size 8x8 --no-scale-by-source --params " + p("b.bin") + " " + p("a.png")).status,
              0);
    EXPECT_NE(run("params show " + p("b.bin"), false).out.find("scaleBySource: off"), std::string::npos);
    expectRefused(run("render --overwrite-source " + p("c.png")), "only together with --scale-by-source", "c.png");

    PresetFile file;
    file.setPath(at("presets/Odd.txt").string());
    file.addPreset(TextureFields{}, 0, "Red\x1b[31m");
    ASSERT_TRUE(file.save());
    const Result r = run("presets list");
    EXPECT_NE(r.out.find("    Red\\x1B[31m\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find('\x1b'), std::string::npos);
}
