// The studio's server over real sockets: refusals before any work, bodies it will
// not take, many requests at once, and clients that hang up halfway.
#include "studio/StudioServer.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

using namespace morvessan::studio;
namespace fs = std::filesystem;

class StudioServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("morvessan-studio-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "presets");
        fs::create_directories(m_dir / "exports");
        m_server = std::make_unique<StudioServer>(StudioSettings{
            (m_dir / "presets").string(), (m_dir / "textures").string(), false, (m_dir / "exports").string(), "", 0});
        m_server->bind();
        m_thread = std::thread([this] { m_server->serve(); });
        m_base = "/" + m_server->token() + "/";
    }
    void TearDown() override {
        m_server->stop();
        m_thread.join();
        m_server.reset();
        fs::remove_all(m_dir);
    }

    httplib::Client client() const {
        httplib::Client made("127.0.0.1", m_server->port());
        made.set_read_timeout(60, 0);
        return made;
    }

    fs::path m_dir;
    std::unique_ptr<StudioServer> m_server;
    std::thread m_thread;
    std::string m_base;
};

TEST_F(StudioServerTest, ThePageIsServedOnlyUnderItsTokenWithItsSafeguards) {
    EXPECT_EQ(m_server->token().size(), 32u);
    EXPECT_NE(m_server->token(), randomToken());
    EXPECT_EQ(m_server->address(), "http://127.0.0.1:" + std::to_string(m_server->port()) + m_base);
    httplib::Client web = client();
    const auto page = web.Get(m_base);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("page/studio.js"), std::string::npos);
    EXPECT_EQ(page->get_header_value("Referrer-Policy"), "no-referrer");
    EXPECT_NE(page->get_header_value("Content-Security-Policy").find("default-src 'self'"), std::string::npos);
    EXPECT_EQ(web.Get(m_base + "page/studio.css")->get_header_value("Content-Type"), "text/css; charset=utf-8");
    EXPECT_EQ(web.Get(m_base + "page/missing.js")->status, 404);
    EXPECT_EQ(web.Get(m_base + "page/../../etc/passwd")->status, 404);
    EXPECT_EQ(web.Get("/")->status, 404);
    EXPECT_EQ(web.Get("/" + std::string(32, '0') + "/api/fields")->status, 404);
    EXPECT_EQ(web.Get(m_base + "api/fields", {{"Host", "rebound.example:" + std::to_string(m_server->port())}})->status,
              421);
    EXPECT_EQ(web.Post(m_base + "api/preview", {{"Origin", "http://evil.example"}}, "{\"seq\":1}", "application/json")
                  ->status,
              403);
    EXPECT_EQ(
        web.Get(m_base + "api/fields", {{"Origin", "http://localhost:" + std::to_string(m_server->port())}})->status,
        200);
}

TEST_F(StudioServerTest, BodiesPastTheLimitAreRefusedUnread) {
    httplib::Client web = client();
    const auto big =
        web.Post(m_base + "api/import", std::string(kMaxRequestBytes + 1, 'x'), "application/octet-stream");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->status, 413);
    const auto bad = web.Post(m_base + "api/preview", "{not json", "application/json");
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->status, 400);
    EXPECT_TRUE(nlohmann::json::parse(bad->body).contains("error"));
}

TEST_F(StudioServerTest, RequestsAtOnceAreAllAnswered) {
    constexpr int kClients = 8;
    std::atomic<int> answered{0};
    std::vector<std::thread> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.emplace_back([&, i] {
            httplib::Client web = client();
            for (int k = 0; k < 4; ++k) {
                const nlohmann::json request{{"width", 40 + i}, {"height", 30}, {"fields", {{"noiseSeed", i + 1}}}};
                const auto preview = k % 2 == 0 ? web.Post(m_base + "api/command", request.dump(), "application/json")
                                                : web.Get(m_base + "api/library");
                if (preview && preview->status == 200) {
                    ++answered;
                }
            }
        });
    }
    for (std::thread& c : clients) {
        c.join();
    }
    EXPECT_EQ(answered.load(), kClients * 4);
}

TEST_F(StudioServerTest, AClientThatHangsUpMidRenderLeavesTheServerAnswering) {
    {
        httplib::Client impatient = client();
        impatient.set_read_timeout(0, 20000); // gives up after 20 ms, long before the picture is drawn
        const nlohmann::json request{{"seq", 1}, {"width", 2048}, {"height", 2048}, {"fields", {{"noiseLevel", 12}}}};
        const auto gone = impatient.Post(m_base + "api/preview", request.dump(), "application/json");
        EXPECT_FALSE(gone);
    }
    httplib::Client web = client();
    const nlohmann::json small{{"seq", 2}, {"width", 16}, {"height", 16}};
    const auto after = web.Post(m_base + "api/preview", small.dump(), "application/json");
    ASSERT_TRUE(after);
    EXPECT_EQ(after->status, 200);
    EXPECT_EQ(after->get_header_value("Content-Type"), "image/png");
}

} // namespace
