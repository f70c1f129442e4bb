// The studio's API natively: its pictures are the bytes of the command it shows,
// its presets are the library's, and it writes only where it may.
#include "tests/cli/CliTest.h"

#include "studio/StudioApi.h"
#include "texture/TextureFieldTable.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <thread>

namespace {

using namespace morvessan::studio;
using nlohmann::json;

class StudioApiTest : public Cli {
protected:
    void SetUp() override {
        Cli::SetUp();
        fs::create_directories(at("exports"));
        m_api = std::make_unique<StudioApi>(
            StudioSettings{at("presets").string(), at("textures").string(), false, at("exports").string(), "token", 0});
    }
    void TearDown() override {
        m_api.reset();
        Cli::TearDown();
    }

    static json body(const StudioReply& reply) { return json::parse(reply.body); }

    // Runs a command line the studio showed, with this build's program and folders.
    Result runShown(const std::string& line) const {
        const std::string prefix = "morvessan ";
        EXPECT_EQ(line.rfind(prefix, 0), 0u) << line;
        return run(line.substr(prefix.size()) + " --quiet");
    }

    json waitForExport(std::uint64_t id) const {
        for (int i = 0; i < 600; ++i) {
            const json state = body(m_api->exportState(id));
            if (state["state"] != "running") {
                return state;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ADD_FAILURE() << "the export did not end";
        return {};
    }

    std::unique_ptr<StudioApi> m_api;
};

const json kTexture{{"fields",
                     {{"type", "Marble"},
                      {"noiseSeed", "77"},
                      {"noiseLevel", "9"},
                      {"colours", "#102040@0,#C08040C0@128,#FFFFFF@255"},
                      {"blurEnabled", "on"},
                      {"blur", "3"},
                      {"noiseEnabled", "on"},
                      {"noise", "12"}}},
                    {"tileable", true},
                    {"patternSize", 40},
                    {"background", "transparent"}};

TEST_F(StudioApiTest, PreviewsAndExportsAreTheBytesOfTheRenderCommandTheyShow) {
    json request = kTexture;
    request["width"] = 96;
    request["height"] = 64;
    request["seq"] = 1;
    const StudioReply preview = m_api->preview(request.dump());
    ASSERT_EQ(preview.status, 200) << preview.body;
    EXPECT_EQ(preview.type, "image/png");
    request["file"] = at("cli.png").string();
    const json shown = body(m_api->command(request.dump()));
    const Result r = runShown(shown["commandLine"]);
    ASSERT_EQ(r.status, 0) << r.err << shown["commandLine"];
    EXPECT_TRUE(preview.body == readText(at("cli.png"))) << shown["commandLine"];

    // The export at another size, through the background job, is the command's too.
    request["width"] = 300;
    request["height"] = 200;
    request["file"] = "big.png";
    const json started = body(m_api->startExport(request.dump()));
    ASSERT_TRUE(started.contains("id")) << started;
    const json state = waitForExport(started["id"]);
    EXPECT_EQ(state["state"], "done") << state;
    EXPECT_EQ(state["done"], state["total"]);
    EXPECT_GT(state["total"].get<int>(), 0);
    request["file"] = at("big-cli.png").string();
    ASSERT_EQ(runShown(body(m_api->command(request.dump()))["commandLine"]).status, 0);
    EXPECT_TRUE(readText(at("exports/big.png")) == readText(at("big-cli.png")));
}

TEST_F(StudioApiTest, SixteenBitHeightAndNormalMapExportsAreTheCommandsToo) {
    for (const json& kind : {json{{"depth", 16}}, json{{"heightMap", true}}, json{{"normalMap", true}}}) {
        json request = kTexture;
        request.update(kind);
        request["width"] = 120;
        request["height"] = 90;
        request["file"] = "deep.png";
        request["overwrite"] = true;
        const json state = waitForExport(body(m_api->startExport(request.dump()))["id"]);
        ASSERT_EQ(state["state"], "done") << state;
        request["file"] = at("deep-cli.png").string();
        const std::string line = body(m_api->command(request.dump()))["commandLine"];
        EXPECT_NE(line.find(kind.contains("depth")       ? " --depth 16"
                            : kind.contains("heightMap") ? " --height-map"
                                                         : " --normal-map"),
                  std::string::npos)
            << line;
        ASSERT_EQ(runShown(line).status, 0) << line;
        const std::string exported = readText(at("exports/deep.png"));
        EXPECT_TRUE(exported == readText(at("deep-cli.png"))) << line;
        EXPECT_EQ(static_cast<unsigned char>(exported[24]), 16u); // the PNG header's bit depth
    }
    json odd = kTexture;
    odd["depth"] = 12;
    EXPECT_EQ(m_api->command(odd.dump()).status, 400);
}

TEST_F(StudioApiTest, ADraggedPreviewHandsBackTheTransformationItDrewWith) {
    json request{{"width", 80}, {"height", 60}, {"seq", 1}, {"fields", {{"type", "Wood"}}}};
    request["steps"] = {{{"move", {20, -15}}}, {{"rotate", 30}}, {{"zoom", 2}}};
    const StudioReply moved = m_api->preview(request.dump());
    ASSERT_EQ(moved.status, 200) << moved.body;
    std::string matrix;
    for (const auto& [name, value] : moved.headers) {
        if (name == "X-Morvessan-Transformation") {
            matrix = value;
        }
    }
    ASSERT_FALSE(matrix.empty());
    // The command line's own steps give the same picture as the matrix they leave.
    ASSERT_EQ(
        run("render --quiet --size 80x60 --set type=Wood --move 20,-15 --rotate 30 --zoom 2 " + p("steps.png")).status,
        0);
    EXPECT_TRUE(moved.body == readText(at("steps.png")));
    request.erase("steps");
    request["fields"]["transformation"] = matrix;
    request["seq"] = 2;
    EXPECT_TRUE(m_api->preview(request.dump()).body == moved.body);
}

TEST_F(StudioApiTest, APreviewOvertakenByALaterEditIsDropped) {
    json request{{"width", 32}, {"height", 32}, {"seq", 5}};
    EXPECT_EQ(m_api->preview(request.dump()).status, 200);
    request["seq"] = 3;
    const StudioReply late = m_api->preview(request.dump());
    EXPECT_EQ(late.status, 409);
    EXPECT_NE(body(late)["error"].get<std::string>().find("later edit"), std::string::npos);
    // Another page (a second tab) keeps its own count.
    request["page"] = "second tab";
    EXPECT_EQ(m_api->preview(request.dump()).status, 200);
    request.erase("seq");
    EXPECT_EQ(m_api->preview(request.dump()).status, 400);
}

TEST_F(StudioApiTest, HostileBodiesAreAnsweredWithAMessageNeverACrash) {
    for (const std::string& hostile :
         {std::string(), std::string("{"), std::string("[1,2]"), std::string("\"text\""), std::string(1 << 16, '['),
          std::string("{\"seq\": 1, \"width\": 1e999}"), std::string("{\"seq\": -1}"),
          std::string("{\"seq\": 1, \"fields\": {\"colours\": \"#GG0000@0\"}}"),
          std::string("{\"seq\": 1, \"fields\": {\"transformation\": \"0,0,0,0,0,0,0,0,0\"}}"),
          std::string("{\"seq\": 1, \"fields\": {\"textureEnabled\": \"on\", \"texturePath\": \"missing.png\"}}")}) {
        const StudioReply reply = m_api->preview(hostile);
        // The request's own fault, or a texture the job cannot draw.
        EXPECT_TRUE(reply.status == 400 || reply.status == 422) << hostile.substr(0, 80) << ": " << reply.body;
        EXPECT_TRUE(body(reply).contains("error"));
    }
    EXPECT_EQ(m_api->command("{\"width\": 70000}").status, 400);
    EXPECT_EQ(m_api->preset("{\"file\": 1}").status, 400);
    EXPECT_EQ(m_api->thumbnail("x", "y", "z", 4).status, 400);
    EXPECT_EQ(m_api->exportState(999).status, 404);
    EXPECT_EQ(m_api->cancelExport(999).status, 404);
}

TEST_F(StudioApiTest, TheLibraryAndThePresetsAreTheCommandLinesOwn) {
    writePresetFile("Stones");
    const json library = body(m_api->library());
    ASSERT_EQ(library["files"].size(), 1u) << library;
    EXPECT_EQ(library["files"][0]["name"], "Stones");
    EXPECT_EQ(library["files"][0]["categories"][0]["presets"][0], "Grey Marble");
    const json chosen =
        body(m_api->preset(json{{"file", "Stones"}, {"category", "Stone"}, {"name", "grey marble"}}.dump()));
    EXPECT_EQ(chosen["fields"]["type"], "Marble");
    EXPECT_EQ(chosen["fields"]["colours"], "#202020FF@0,#A09080FF@128,#F0F0F0FF@255");
    const StudioReply missing = m_api->preset(json{{"file", "Stones"}, {"category", "Stone"}, {"name", "Gold"}}.dump());
    EXPECT_EQ(missing.status, 422);
    EXPECT_NE(body(missing)["error"].get<std::string>().find("Gold"), std::string::npos);
    // A thumbnail is the preset drawn as "render --preset" draws it.
    const StudioReply thumbnail = m_api->thumbnail("Stones", "Stone", "Grey Marble", 40);
    ASSERT_EQ(thumbnail.status, 200) << thumbnail.body;
    ASSERT_EQ(run("render --quiet --size 40x40 --preset-file Stones --category Stone --preset " + q("Grey Marble") +
                  " " + p("thumb.png"))
                  .status,
              0);
    EXPECT_TRUE(thumbnail.body == readText(at("thumb.png")));
    // Every field of the table is declared with its range and default.
    const json fields = body(m_api->fields());
    ASSERT_EQ(fields["fields"].size(), kTextureFields.size());
    EXPECT_EQ(fields["fields"][1]["name"], "noiseLevel");
    EXPECT_EQ(fields["fields"][1]["high"], 12);
    EXPECT_EQ(fields["fields"][0]["choices"].size(), 4u);
}

TEST_F(StudioApiTest, SavedPresetsAreListedAndSavesAtOnceWithTheCommandLineAreAllKept) {
    writePresetFile("Stones");
    json request = kTexture;
    request["file"] = "Stones";
    request["category"] = "Studio";
    constexpr int kSavers = 6;
    std::atomic<int> failures{0};
    std::vector<std::thread> savers;
    for (int i = 0; i < kSavers; ++i) {
        savers.emplace_back([&, i] {
            json mine = request;
            mine["name"] = "Saved " + std::to_string(i);
            if (m_api->savePreset(mine.dump()).status != 200) {
                ++failures;
            }
        });
    }
    const Result added = run("presets add --preset-file Stones --category Studio --name " + q("From the command line"));
    for (std::thread& saver : savers) {
        saver.join();
    }
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(failures.load(), 0);
    const Result listed = run("presets list");
    for (int i = 0; i < kSavers; ++i) {
        EXPECT_NE(listed.out.find("Saved " + std::to_string(i)), std::string::npos) << listed.out;
    }
    EXPECT_NE(listed.out.find("From the command line"), std::string::npos);
    EXPECT_NE(listed.out.find("Grey Marble"), std::string::npos);
    // The saved preset renders as the studio drew it.
    json shown = kTexture;
    shown["width"] = 48;
    shown["height"] = 48;
    shown["seq"] = 1;
    ASSERT_EQ(run("render --quiet --size 48x48 --tileable --pattern-size 40 --background transparent --preset-file "
                  "Stones --category Studio --preset " +
                  q("Saved 0") + " " + p("saved.png"))
                  .status,
              0);
    EXPECT_TRUE(m_api->preview(shown.dump()).body == readText(at("saved.png")));
    // A name the category holds is refused, and the file stays as it was.
    const std::string before = readText(at("presets/Stones.txt"));
    request["name"] = "Saved 0";
    const StudioReply again = m_api->savePreset(request.dump());
    EXPECT_EQ(again.status, 422);
    EXPECT_NE(body(again)["error"].get<std::string>().find("cannot add a preset named 'Saved 0'"), std::string::npos)
        << again.body;
    EXPECT_EQ(readText(at("presets/Stones.txt")), before);
}

TEST_F(StudioApiTest, ExportsWriteOnlyNewPlainNamesIntoTheExportFolder) {
    json request{{"width", 16}, {"height", 16}};
    for (const char* name : {"../escape.png", "/tmp/escape.png", "sub/x.png", "x.jpg", ".x.png"}) {
        request["file"] = name;
        EXPECT_EQ(m_api->startExport(request.dump()).status, 400) << name;
    }
    EXPECT_FALSE(fs::exists(at("escape.png")));
    {
        std::ofstream keep(at("exports/kept.png"), std::ios::binary);
        keep << "not to be lost";
    }
    request["file"] = "kept.png";
    EXPECT_EQ(m_api->startExport(request.dump()).status, 409);
    EXPECT_EQ(readText(at("exports/kept.png")), "not to be lost");
    request["overwrite"] = true;
    const json state = waitForExport(body(m_api->startExport(request.dump()))["id"]);
    EXPECT_EQ(state["state"], "done");
    EXPECT_EQ(readText(at("exports/kept.png")).substr(1, 3), "PNG");
    // A size no PNG can hold is refused before anything is drawn.
    request["width"] = 65536;
    request["file"] = "huge.png";
    EXPECT_EQ(m_api->startExport(request.dump()).status, 400);
    EXPECT_FALSE(fs::exists(at("exports/huge.png")));
}

TEST_F(StudioApiTest, ACancelledExportLeavesNothingBehind) {
    json request{{"width", 4000}, {"height", 4000}, {"file", "cancelled.png"}, {"fields", {{"noiseLevel", "12"}}}};
    const json started = body(m_api->startExport(request.dump()));
    EXPECT_EQ(m_api->cancelExport(started["id"]).status, 200);
    const json state = waitForExport(started["id"]);
    EXPECT_EQ(state["state"], "failed");
    EXPECT_FALSE(fs::exists(at("exports/cancelled.png")));
    EXPECT_TRUE(fs::is_empty(at("exports")));
}

TEST_F(StudioApiTest, ImportReadsBlocksAndPresetFilesAndRefusesAnythingElse) {
    ASSERT_EQ(run("params init " + p("block.bin"), false).status, 0);
    ASSERT_EQ(run("params set " + p("block.bin") + " noiseSeed=1234 type=fire", false).status, 0);
    const json block = body(m_api->importFile(readText(at("block.bin"))));
    EXPECT_EQ(block["kind"], "block");
    EXPECT_EQ(block["fields"]["noiseSeed"], "1234");
    EXPECT_EQ(block["fields"]["type"], "Fire");
    writePresetFile("Stones");
    const json presets = body(m_api->importFile(readText(at("presets/Stones.txt"))));
    EXPECT_EQ(presets["kind"], "presets");
    ASSERT_EQ(presets["presets"].size(), 2u);
    EXPECT_EQ(presets["presets"][0]["name"], "Grey Marble");
    EXPECT_EQ(presets["presets"][1]["category"], "Sky");
    for (const std::string& junk : {std::string(), std::string("\x89PNG\r\n"), std::string(5000, '\0')}) {
        const StudioReply refused = m_api->importFile(junk);
        EXPECT_EQ(refused.status, 400);
        EXPECT_NE(body(refused)["error"].get<std::string>().find("neither a parameter block"), std::string::npos);
    }
}

} // namespace
