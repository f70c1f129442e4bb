// "morvessan studio" as a user starts it: the program prints its address, answers
// there with the render command's own picture, and ends when the page stops it.
#include "tests/cli/CliTest.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <cstdio>

namespace {

#if defined(_WIN32)
std::FILE* startProgram(const std::string& line) { return _popen(line.c_str(), "r"); }
int endProgram(std::FILE* program) { return _pclose(program); }
#else
std::FILE* startProgram(const std::string& line) { return popen(line.c_str(), "r"); }
int endProgram(std::FILE* program) {
    const int status = pclose(program);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}
#endif

class StudioProgram : public Cli {};

TEST_F(StudioProgram, PrintsItsAddressAnswersWithTheRenderCommandsPictureAndStopsWhenAsked) {
    fs::create_directories(at("exports"));
    std::string line = q(MORVESSAN_PROGRAM) + " studio --no-browser --presets-dir " + p("presets") +
                       " --textures-dir " + p("textures") + " --export-dir " + p("exports");
#if defined(_WIN32)
    line = "\"" + line + "\"";
#endif
    std::FILE* program = startProgram(line);
    ASSERT_NE(program, nullptr);
    char first[512] = {};
    ASSERT_NE(std::fgets(first, sizeof first, program), nullptr);
    // "Morvessan Studio: http://127.0.0.1:PORT/TOKEN/"
    const std::string text = first;
    const std::string lead = "http://127.0.0.1:";
    const std::size_t from = text.find(lead);
    ASSERT_NE(from, std::string::npos) << text;
    const std::size_t slash = text.find('/', from + lead.size());
    ASSERT_NE(slash, std::string::npos) << text;
    const std::string port = text.substr(from + lead.size(), slash - from - lead.size());
    const std::string base = text.substr(slash, 34);
    ASSERT_EQ(base.size(), 34u) << text;
    ASSERT_EQ(base.find_first_not_of("0123456789abcdef", 1), 33u) << text;
    httplib::Client web("127.0.0.1", std::stoi(port));
    web.set_read_timeout(120, 0);
    const nlohmann::json request{{"seq", 1},
                                 {"width", 64},
                                 {"height", 40},
                                 {"fields", {{"type", "Wood"}, {"noiseSeed", "31"}, {"noiseParameter", "7.5"}}}};
    const auto preview = web.Post(base + "api/preview", request.dump(), "application/json");
    ASSERT_TRUE(preview);
    ASSERT_EQ(preview->status, 200) << preview->body;
    ASSERT_EQ(
        run("render --quiet --size 64x40 --set type=Wood --set noiseSeed=31 --set noiseParameter=7.5 " + p("cli.png"))
            .status,
        0);
    EXPECT_TRUE(preview->body == readText(at("cli.png")));
    const auto stopped = web.Post(base + "api/quit", "", "application/json");
    ASSERT_TRUE(stopped);
    EXPECT_EQ(stopped->status, 200);
    EXPECT_EQ(endProgram(program), 0);
}

} // namespace
