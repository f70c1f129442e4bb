// The studio's rules without a server: what a texture request may hold, who may
// drive the studio, which names the export folder takes, and how commands are quoted.
#include "job/JobError.h"
#include "studio/StudioCommand.h"
#include "studio/StudioGuard.h"
#include "studio/StudioTexture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using namespace morvessan;
using namespace morvessan::studio;
using nlohmann::json;

// The request's refusal, or "" when it was read.
std::string refusal(const json& request) {
    try {
        readStudioTexture(request, kMaxPreviewSide);
        return "";
    } catch (const job::JobError& error) {
        EXPECT_EQ(error.status(), job::kBadRequestStatus);
        return error.what();
    }
}

TEST(StudioRequests, ValuesOfTheWrongKindOrRangeAreRefusedNamingTheirKey) {
    EXPECT_NE(refusal(json::array()).find("JSON object"), std::string::npos);
    EXPECT_NE(refusal(json{{"width", 0}}).find("'width'"), std::string::npos);
    EXPECT_NE(refusal(json{{"width", kMaxPreviewSide + 1}}).find("'width'"), std::string::npos);
    EXPECT_NE(refusal(json{{"height", 1.5}}).find("'height'"), std::string::npos);
    EXPECT_NE(refusal(json{{"height", "64"}}).find("'height'"), std::string::npos);
    EXPECT_NE(refusal(json{{"tileable", "yes"}}).find("'tileable'"), std::string::npos);
    EXPECT_NE(refusal(json{{"background", "pink"}}).find("'background'"), std::string::npos);
    EXPECT_NE(refusal(json{{"patternSize", -1}}).find("'patternSize'"), std::string::npos);
    EXPECT_NE(refusal(json{{"fields", {{"noSuchField", "1"}}}}).find("unknown field 'noSuchField'"), std::string::npos);
    EXPECT_NE(refusal(json{{"fields", {{"noiseSeed", json::object()}}}}).find("'noiseSeed'"), std::string::npos);
    EXPECT_NE(refusal(json{{"fields", {{"noiseWeights", {{1, 2}}}}}}).find("'noiseWeights'"), std::string::npos);
    EXPECT_NE(refusal(json{{"fields", {{"texturePath", std::string(kMaxFieldText + 1, 'a')}}}}).find("longer"),
              std::string::npos);
    EXPECT_NE(refusal(json{{"steps", {{{"move", {1}}}}}}).find("each step"), std::string::npos);
    EXPECT_NE(refusal(json{{"steps", {{{"zoom", 0}}}}}).find("'zoom'"), std::string::npos);
    EXPECT_NE(refusal(json{{"steps", {{{"rotate", 1}, {"zoom", 2}}}}}).find("each step"), std::string::npos);
    json many = json::array();
    for (int i = 0; i < 65; ++i) {
        many.push_back(json{{"rotate", 1}});
    }
    EXPECT_NE(refusal(json{{"steps", many}}).find("64"), std::string::npos);
    EXPECT_NE(refusal(json{{"loop", 1}, {"evolve", 0.1}}).find("'loop'"), std::string::npos);
}

TEST(StudioRequests, FieldsAreTakenAsTextNumbersFlagsOrListsAndSetThroughTheFieldTable) {
    const StudioTexture texture = readStudioTexture(json{{"fields",
                                                          {{"type", "marble"},
                                                           {"noiseSeed", 42},
                                                           {"blurEnabled", true},
                                                           {"noiseParameter", 12.5},
                                                           {"noiseWeights", {1, 0.5, 0.25}}}},
                                                         {"width", 64},
                                                         {"height", 32},
                                                         {"tileable", true}},
                                                    kMaxPreviewSide);
    EXPECT_EQ(texture.width, 64);
    EXPECT_TRUE(texture.pattern.tileable);
    const std::vector<std::uint8_t> bytes = studioBlock(texture, "");
    const TextureFields& fields = reinterpret_cast<const FilterParameters*>(bytes.data())->texture;
    EXPECT_EQ(fields.type, 3);
    EXPECT_EQ(fields.noiseSeed, 42);
    EXPECT_TRUE(fields.blurEnabled);
    EXPECT_EQ(fields.noiseParameter, 12.5);
    EXPECT_EQ(fields.noiseWeights[1], 0.5);
    // A value past its field's range is the field table's own refusal.
    const StudioTexture far = readStudioTexture(json{{"fields", {{"noiseLevel", 13}}}}, kMaxPreviewSide);
    try {
        studioBlock(far, "");
        ADD_FAILURE() << "an octave count of 13 was taken";
    } catch (const job::JobError& error) {
        EXPECT_NE(std::string(error.what()).find("noiseLevel"), std::string::npos) << error.what();
    }
}

TEST(StudioRequests, StepsActAboutTheCentreInThePreviewsPixels) {
    const json base{{"width", 200}, {"height", 100}};
    json moved = base;
    moved["steps"] = {{{"move", {50, 0}}}};
    const std::vector<std::uint8_t> bytes = studioBlock(readStudioTexture(moved, kMaxPreviewSide), "");
    const TextureTransform& m = reinterpret_cast<const FilterParameters*>(bytes.data())->texture.transformation;
    // A quarter of the width to the right: the pattern's origin moves by a quarter unit.
    EXPECT_DOUBLE_EQ(m.at(0, 2), -0.25);
    EXPECT_DOUBLE_EQ(m.at(1, 2), 0);
}

TEST(StudioGuard, OnlyTheLoopbackHostOurOriginAndTheTokenGetThrough) {
    const std::string token = "0123456789abcdef0123456789abcdef";
    const auto status = [&](std::string_view host, std::string_view origin, std::string_view site,
                            std::string_view path) {
        return checkStudioRequest(host, origin, site, path, 8123, token).status;
    };
    EXPECT_EQ(status("127.0.0.1:8123", "", "", "/" + token + "/"), 0);
    EXPECT_EQ(status("localhost:8123", "http://localhost:8123", "same-origin", "/" + token + "/api/fields"), 0);
    // Another name for our address (DNS rebinding), another port, no Host at all.
    EXPECT_EQ(status("evil.example:8123", "", "", "/" + token + "/"), 421);
    EXPECT_EQ(status("127.0.0.1:8124", "", "", "/" + token + "/"), 421);
    EXPECT_EQ(status("", "", "", "/" + token + "/"), 421);
    // A page of another site, even one that guessed the token.
    EXPECT_EQ(status("127.0.0.1:8123", "http://evil.example", "", "/" + token + "/"), 403);
    EXPECT_EQ(status("127.0.0.1:8123", "null", "", "/" + token + "/"), 403);
    EXPECT_EQ(status("127.0.0.1:8123", "", "cross-site", "/" + token + "/"), 403);
    // Without the token, or with a part of it, nothing is found.
    EXPECT_EQ(status("127.0.0.1:8123", "", "", "/"), 404);
    EXPECT_EQ(status("127.0.0.1:8123", "", "", "/" + token), 404);
    EXPECT_EQ(status("127.0.0.1:8123", "", "", "/" + token.substr(0, 31) + "/"), 404);
    EXPECT_EQ(status("127.0.0.1:8123", "", "", "/" + token + "0/"), 404);
    EXPECT_EQ(status("127.0.0.1:8123", "", "", "/../" + token + "/"), 404);
    EXPECT_EQ(checkStudioRequest("127.0.0.1:8123", "", "", "//api", 8123, "").status, 404);
}

TEST(StudioGuard, TheExportFolderTakesOnePlainNameOfTheFormat) {
    EXPECT_TRUE(isExportFileName("texture.png", ".png"));
    EXPECT_TRUE(isExportFileName("Marble 2 (tile).PNG", ".png"));
    for (const char* name :
         {"", ".png", "../x.png", "a/b.png", "a\\b.png", "/etc/x.png", "C:x.png", ".hidden.png", "-rf.png", "x.png.",
          "x.jpg", "x..png", "CON.png", "nul.png", "com1.png", "LPT9.png", "a\nb.png", "x?.png"}) {
        EXPECT_FALSE(isExportFileName(name, ".png")) << name;
    }
    EXPECT_FALSE(isExportFileName(std::string(197, 'a') + ".png", ".png"));
    EXPECT_TRUE(isExportFileName("console.png", ".png"));
}

TEST(StudioCommand, WordsAreQuotedForTheShellOnlyWhenTheyNeedIt) {
    EXPECT_EQ(shellWord("noiseSeed=7"), "noiseSeed=7");
#if defined(_WIN32)
    EXPECT_EQ(shellWord("C:\\My Textures\\a.png"), "\"C:\\My Textures\\a.png\"");
    EXPECT_EQ(shellWord("C:\\out.png"), "C:\\out.png");
    EXPECT_EQ(shellWord("%PATH%"), "\"%PATH%\"");
    EXPECT_EQ(shellWord("say \"hi\""), "\"say \\\"hi\\\"\"");
#else
    EXPECT_EQ(shellWord("colours=#FF0000@0"), "'colours=#FF0000@0'");
    EXPECT_EQ(shellWord("my file.png"), "'my file.png'");
    EXPECT_EQ(shellWord("it's"), "'it'\\''s'");
    EXPECT_EQ(shellWord("$(rm -rf ~)"), "'$(rm -rf ~)'");
    EXPECT_EQ(shellWord(""), "''");
#endif
}

TEST(StudioCommand, OnlyTheFieldsThatDifferFromTheDefaultsAreWrittenAndAlwaysOne) {
#if defined(_WIN32)
    GTEST_SKIP() << "the lines below are quoted for a POSIX shell";
#endif
    // A texture that is what render starts from (an opaque gradient) names one field, so that no showcase is drawn.
    const StudioTexture plain = readStudioTexture(json{{"width", 64}, {"height", 48}}, kMaxPreviewSide);
    EXPECT_EQ(renderCommandLine(plain, "", "out.png"), "morvessan render out.png --size 64x48 --set type=Cloud");
    const StudioTexture clear = readStudioTexture(
        json{{"width", 64}, {"height", 48}, {"fields", {{"colours", "#00000000@0,#FFFFFFFF@255"}}}}, kMaxPreviewSide);
    EXPECT_EQ(renderCommandLine(clear, "", "out.png"),
              "morvessan render out.png --size 64x48 --set 'colours=#00000000@0,#FFFFFFFF@255'");
    EXPECT_EQ(renderPythonCall(plain, ""), "morvessan.render(64, 48, type=\"Cloud\")");
    const StudioTexture edited = readStudioTexture(
        json{{"width", 64},
             {"height", 48},
             {"tileable", true},
             {"patternSize", 32},
             {"background", "transparent"},
             {"fields", {{"noiseSeed", "9"}, {"blurEnabled", "on"}, {"colours", "#102030@0,#FFFFFF80@255"}}}},
        kMaxPreviewSide);
    const std::string line = renderCommandLine(edited, "", "out.png");
    EXPECT_NE(line.find(" --tileable --pattern-size 32 "), std::string::npos) << line;
    EXPECT_NE(line.find(" --set noiseSeed=9"), std::string::npos) << line;
    EXPECT_NE(line.find(" --set 'colours=#102030FF@0,#FFFFFF80@255'"), std::string::npos) << line;
    EXPECT_NE(line.find(" --set blurEnabled=on"), std::string::npos) << line;
    EXPECT_EQ(line.find("type="), std::string::npos) << line;
    EXPECT_EQ(renderPythonCall(edited, ""),
              "morvessan.render(64, 48, background=\"transparent\", tileable=True, pattern_size=32, noise_seed=9, "
              "colours=\"#102030FF@0,#FFFFFF80@255\", blur_enabled=True)");
}

} // namespace
