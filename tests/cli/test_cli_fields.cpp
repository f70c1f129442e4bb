// The texture's fields from the command line: every field set by name and read
// back, the transformation steps against the engine's operations, and one bad
// value per kind.
#include "tests/cli/CliTest.h"
#include "dialog/TransformActions.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

class CliFields : public Cli {
protected:
    FilterParameters block(const std::string& name) const {
        const std::string bytes = readText(at(name));
        FilterParameters b{};
        EXPECT_EQ(bytes.size(), sizeof b);
        std::memcpy(static_cast<void*>(&b), bytes.data(), std::min(bytes.size(), sizeof b));
        return b;
    }
};

// Every field with a value other than its default, and that value as JSON.
const std::vector<std::pair<std::string, std::string>> kEveryField{
    {"type=marble", "\"type\": \"Marble\""},
    {"noiseLevel=10", "\"noiseLevel\": 10,"},
    {"noiseSeed=7", "\"noiseSeed\": 7,"},
    {"colours=#102030@0,#4050607F@128,#FFFFFF@255",
     "\"colours\": "
     "[{\"colour\":\"#102030FF\",\"position\":0},{\"colour\":\"#4050607F\","
     "\"position\":128},"
     "{\"colour\":\"#FFFFFFFF\",\"position\":255}]"},
    {"totalOpacity=55", "\"totalOpacity\": 55,"},
    {"transformation=2,0.5,-1,0,3,0.125,0,0,1", "\"transformation\": [2,0.5,-1,0,3,0.125,0,0,1]"},
    {"noiseWeights=0.75,0.3", "\"noiseWeights\": [0.75,0.3,0.25,0.125,"},
    {"noiseParameter=12.34", "\"noiseParameter\": 12.3,"},
    {"blurEnabled=on", "\"blurEnabled\": true"},
    {"blur=33", "\"blur\": 33,"},
    {"noiseEnabled=on", "\"noiseEnabled\": true"},
    {"noise=44", "\"noise\": 44,"},
    {"textureEnabled=off", "\"textureEnabled\": false"},
    {"textureAmount=66", "\"textureAmount\": 66,"},
    {"texturePath=some dir/a b.png", "\"texturePath\": \"some dir/a b.png\""},
};

TEST_F(CliFields, EveryFieldRoundTripsThroughSetShowAndARun) {
    std::string assignments;
    std::string options;
    for (const auto& [assignment, json] : kEveryField) {
        assignments += " " + q(assignment);
        options += " --set " + q(assignment);
    }
    ASSERT_EQ(run("params set " + p("a.bin") + assignments, false).status, 0);
    Result r = run("params show --json " + p("a.bin"), false);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const auto& [assignment, json] : kEveryField) {
        EXPECT_NE(r.out.find(json), std::string::npos) << json << "\n" << r.out;
    }

    // A run with the same --set options leaves the same texture in its block.
    r = run("render --quiet --size 8x8 --params " + p("b.bin") + options + " " + p("b.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    const FilterParameters a = block("a.bin");
    const FilterParameters b = block("b.bin");
    EXPECT_EQ(std::memcmp(&a.texture, &b.texture, sizeof a.texture), 0);

    // The text form of show reads back to the same bytes.
    r = run("params show " + p("a.bin"), false);
    std::string fromText;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line) && line.rfind("presetFile:", 0) != 0;) {
        const std::size_t colon = line.find(": ");
        fromText += " " + q(line.substr(0, colon) + "=" + line.substr(colon + 2));
    }
    ASSERT_EQ(run("params set " + p("c.bin") + fromText, false).status, 0);
    EXPECT_EQ(readText(at("a.bin")), readText(at("c.bin")));
}

TEST_F(CliFields, TransformationStepsAreTheEnginesOperationsInOrder) {
    Result r = run("render --quiet --size 40x20 --params " + p("m.bin") +
                   " --rotate 30 --move 4,-2 --scale 2,0.5 --zoom 1.5 --seed random " + p("m.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    const TransformView whole;
    TextureTransform expected;
    rotateTexture(expected, whole, 30 * std::numbers::pi / 180 * 1200);
    moveTexture(expected, whole, 4, -2, 40, 20);
    scaleTexture(expected, whole, 1200 * std::log2(2.0), 1200 * std::log2(0.5));
    scaleTexture(expected, whole, 1200 * std::log2(1.5), 1200 * std::log2(1.5));
    FilterParameters b = block("m.bin");
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(b.texture.transformation.m[i], expected.m[i]) << i;
    }
    // The chosen seed is printed, and is the one used.
    EXPECT_EQ(r.err, "morvessan: seed " + std::to_string(b.texture.noiseSeed) + "\n");
    EXPECT_LE(b.texture.noiseSeed, 9999);

    ASSERT_EQ(run("render --quiet --size 40x20 --params " + p("m.bin") + " --reset-transform " + p("m.png")).status, 0);
    resetTexture(expected, whole);
    b = block("m.bin");
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(b.texture.transformation.m[i], expected.m[i]) << i;
    }
}

TEST_F(CliFields, ShorthandsAndBadValuesOfEachKind) {
    Result r =
        run("render --quiet --size 8x8 --params " + p("s.bin") + " --type wood --octaves 3 --weights 1,0.5 --colours " +
            q("#FF0000@0,#0000FF80@200") + " --opacity 40 --blur 5 --grain 0 --set noise=9 " + p("s.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    FilterParameters b = block("s.bin");
    EXPECT_EQ(b.texture.type, kWood);
    EXPECT_EQ(b.texture.noiseLevel, 3.0);
    EXPECT_EQ(b.texture.colourCount, 2);
    EXPECT_EQ(b.texture.colours[0], 0xFF0000FFu);
    EXPECT_EQ(b.texture.colours[1], 0x80FF0000u);
    EXPECT_EQ(b.texture.positions[1], 200);
    EXPECT_EQ(b.texture.totalOpacity, 40.0);
    EXPECT_EQ(b.texture.blurEnabled, 1);
    EXPECT_EQ(b.texture.blur, 5);
    EXPECT_EQ(b.texture.noiseEnabled, 0);
    EXPECT_EQ(b.texture.noise, 9);

    const std::vector<std::pair<std::string, std::string>> bad{
        {"type=stone", "type 'stone' is not one of cloud|fire|marble|wood"},
        {"noiseSeed=40000", "noiseSeed '40000' is outside 0..32767"},
        {"noiseLevel=2.5", "noiseLevel '2.5' is not a whole number"},
        {"noiseParameter=50.5", "noiseParameter '50.5' is outside 1..50"},
        {"colours=#FF0000@9,#00FF00@3", "colours '#FF0000@9,#00FF00@3' is not 1 to 8 stops"},
        {"noiseWeights=0.5,2", "is not 1 to 12 numbers in 0.00048828125..1"},
        {"transformation=1,0,0,0,1,0,0,0", "is not 9 numbers"},
        {"blurEnabled=maybe", "blurEnabled 'maybe' is not on or off"},
        {"texturePath=" + std::string(300, 'x'), "is longer than 259 bytes"},
        {"grain=4", "unknown field 'grain'"},
        {"blur", "'blur' is not FIELD=VALUE"},
    };
    for (const auto& [assignment, message] : bad) {
        expectRefused(run("params set " + p("bad.bin") + " " + q(assignment), false), message, "bad.bin");
    }
    expectRefused(run("render --size 8x8 --zoom 0 " + p("z.png")), "--zoom '0' must be greater than 0", "z.png");
    expectRefused(run("render --size 8x8 --move 3 " + p("z.png")), "--move '3' is not two numbers", "z.png");
    expectRefused(run("render --size 8x8 --blur 101 " + p("z.png")), "blur '101' is outside 1..100", "z.png");
    expectRefused(run("render --size 8x8 --picture none.png " + p("z.png")), "--picture 'none.png'", "z.png");
}

TEST_F(CliFields, JsonListsPresetsAddAndVersion) {
    writePresetFile("Stones");
    // A preset added from a block set by name gives that block back when chosen.
    ASSERT_EQ(run("params set " + p("set.bin") + " type=fire noiseSeed=77 " + q("colours=#102030@0,#FFFFFF80@255") +
                      " totalOpacity=70 transformation=1,0.5,0,0,2,0.25,0,0,1 blurEnabled=on blur=20"
                      // Preset files keep six digits: these weights survive them.
                      " noiseWeights=1,0.5,0.25,0.125,0.0625,0.03125,0.015625,0.0078125,0.00390625,0.002,0.001,0.0005",
                  false)
                  .status,
              0);
    ASSERT_EQ(run("presets add --preset-file Made --category Mine --name Flame --params " + p("set.bin")).status, 0);
    ASSERT_EQ(run("render --quiet --size 8x8 --preset-file Made --preset Flame --params " + p("chosen.bin") + " " +
                  p("chosen.png"))
                  .status,
              0);
    // Every field (bytes past a path's end or the used stops are no field's value).
    const std::string set = run("params show " + p("set.bin"), false).out;
    const std::string chosen = run("params show " + p("chosen.bin"), false).out;
    EXPECT_EQ(set.substr(0, set.find("presetFile")), chosen.substr(0, chosen.find("presetFile")));

    const Result r = run("presets list --json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("{\"name\": \"Stones\", \"path\": "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"readWhole\": true, \"damage\": \"\", \"categories\": [\n      {\"name\": \"Stone\""),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"name\": \"Grey Marble\", \"type\": \"Marble\", \"noiseLevel\": 8,"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"unreadable\": [\n  ]\n}\n"), std::string::npos) << r.out;
    EXPECT_EQ(run("--version", false).out.rfind("morvessan ", 0), 0u);
    const std::string completion = run("completion bash", false).out;
    EXPECT_NE(completion.find(" noiseSeed= "), std::string::npos);
    EXPECT_NE(completion.find(" --per-frame-move "), std::string::npos);
}

TEST_F(CliFields, PipesBatchesAndFrames) {
    // A PNG on standard output and one read from standard input are the files' bytes.
    ASSERT_EQ(run("render --quiet --size 24x16 --type fire " + p("file.png")).status, 0);
    Result r = run("render --size 24x16 --type fire -");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readText(lastOutput()), readText(at("file.png"))); // r.out lost its CRs on Windows
    EXPECT_NE(r.err.find("Wrote standard output"), std::string::npos);
    ASSERT_EQ(run("apply --quiet --type wood " + p("file.png") + " " + p("a.png")).status, 0);
    ASSERT_EQ(run("apply --quiet --type wood - " + p("b.png") + " <" + p("file.png")).status, 0);
    EXPECT_EQ(readText(at("a.png")), readText(at("b.png")));

    // One unreadable input among good ones: the others are done, its name reported, status 1.
    std::ofstream(at("bad.png")) << "not a picture";
    fs::create_directories(at("out"));
    r = run("apply --quiet --type marble --output-dir " + p("out") + " --format bmp " + p("file.png") + " " +
            p("bad.png") + " " + p("a.png"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("bad.png"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("1 of 3 pictures failed"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::exists(at("out/file.bmp")));
    EXPECT_TRUE(fs::exists(at("out/a.bmp")));
    EXPECT_FALSE(fs::exists(at("out/bad.bmp")));

    // Frame k is a single render with the per-frame steps applied k times.
    ASSERT_EQ(run("render --quiet --size 24x16 --frames 3 --per-frame-move 3,1 --per-frame-rotate 10 "
                  "--per-frame-seed " +
                  p("f-%02d.png"))
                  .status,
              0);
    EXPECT_FALSE(fs::exists(at("f-03.png")));
    ASSERT_EQ(
        run("render --quiet --size 24x16 --move 3,1 --rotate 10 --move 3,1 --rotate 10 --seed 3 " + p("single.png"))
            .status,
        0);
    EXPECT_EQ(load("f-02.png").pixels, load("single.png").pixels);
    EXPECT_NE(load("f-01.png").pixels, load("single.png").pixels);
}

} // namespace
