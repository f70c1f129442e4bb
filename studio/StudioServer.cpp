// The studio's HTTP server over cpp-httplib: every request checked by the guard,
// the page's files served from the program, the API routed to StudioApi.
#include "studio/StudioServer.h"

#include "job/JobError.h"
#include "studio/StudioApi.h"
#include "studio/StudioGuard.h"
#include "studio/StudioPage.h"

#include <httplib.h>

#include <random>

namespace morvessan::studio {

namespace {

constexpr const char* kLoopback = "127.0.0.1";

// The page may load only its own files, sends no Referer (which would carry the
// token), and cannot be framed by another page.
void secure(httplib::Response& response) {
    response.set_header("Content-Security-Policy",
                        "default-src 'self'; img-src 'self' blob: data:; style-src 'self'; script-src 'self'; "
                        "connect-src 'self'; frame-ancestors 'none'; base-uri 'none'; form-action 'none'");
    response.set_header("Referrer-Policy", "no-referrer");
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_header("X-Frame-Options", "DENY");
    response.set_header("Cross-Origin-Resource-Policy", "same-origin");
}

void reply(httplib::Response& response, const StudioReply& answer) {
    secure(response);
    response.status = answer.status;
    for (const auto& [name, value] : answer.headers) {
        response.set_header(name, value);
    }
    response.set_content(answer.body, answer.type.c_str());
}

std::uint64_t idOf(const httplib::Request& request) {
    const std::string text = request.matches[1];
    if (text.empty() || text.size() > 18) {
        return 0;
    }
    return std::stoull(text);
}

std::int32_t sizeOf(const httplib::Request& request) {
    const std::string text = request.get_param_value("size");
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) {
        return 0;
    }
    return std::stoi(text);
}

} // namespace

struct StudioServer::State {
    StudioSettings settings;
    StudioApi api;
    httplib::Server server;
    int port = -1;

    explicit State(StudioSettings given) : settings(std::move(given)), api(settings) {}
};

std::string randomToken() {
    std::random_device device;
    std::string token;
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t word = device();
        for (int shift = 28; shift >= 0; shift -= 4) {
            token += "0123456789abcdef"[(word >> shift) & 15];
        }
    }
    return token;
}

StudioServer::StudioServer(StudioSettings settings) {
    if (settings.token.empty()) {
        settings.token = randomToken();
    }
    m_state = std::make_unique<State>(std::move(settings));
    httplib::Server& server = m_state->server;
    State& state = *m_state;
    server.set_payload_max_length(kMaxRequestBytes);
    server.set_pre_routing_handler([&state](const httplib::Request& request, httplib::Response& response) {
        const StudioRefusal refusal =
            checkStudioRequest(request.get_header_value("Host"), request.get_header_value("Origin"),
                               request.get_header_value("Sec-Fetch-Site"), request.path,
                               static_cast<std::uint16_t>(state.port), state.settings.token);
        if (refusal.status == 0) {
            return httplib::Server::HandlerResponse::Unhandled;
        }
        secure(response);
        response.status = refusal.status;
        response.set_content(refusal.reason + "\n", "text/plain");
        return httplib::Server::HandlerResponse::Handled;
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
        reply(response, StudioReply{500, "application/json", "{\"error\": \"the request failed\"}", {}});
    });
    const std::string base = "/" + m_state->settings.token;
    server.Get(base + "/", [](const httplib::Request&, httplib::Response& response) {
        reply(response, StudioReply{200,
                                    "text/html; charset=utf-8",
                                    std::string(studioPageFile("index.html")),
                                    {{"Cache-Control", "no-store"}}});
    });
    server.Get(base + R"(/page/([a-z.]+))", [](const httplib::Request& request, httplib::Response& response) {
        const std::string name = request.matches[1];
        const std::string_view file = studioPageFile(name);
        if (file.empty()) {
            reply(response, StudioReply{404, "text/plain", "not found\n", {}});
            return;
        }
        reply(response,
              StudioReply{200, std::string(studioPageType(name)), std::string(file), {{"Cache-Control", "no-store"}}});
    });
    StudioApi& api = m_state->api;
    server.Get(base + "/api/fields",
               [&api](const httplib::Request&, httplib::Response& response) { reply(response, api.fields()); });
    server.Get(base + "/api/library",
               [&api](const httplib::Request&, httplib::Response& response) { reply(response, api.library()); });
    server.Get(base + "/api/thumbnail", [&api](const httplib::Request& request, httplib::Response& response) {
        reply(response, api.thumbnail(request.get_param_value("file"), request.get_param_value("category"),
                                      request.get_param_value("name"), sizeOf(request)));
    });
    server.Get(base + R"(/api/export/(\d+))", [&api](const httplib::Request& request, httplib::Response& response) {
        reply(response, api.exportState(idOf(request)));
    });
    server.Post(base + "/api/preset", [&api](const httplib::Request& request, httplib::Response& response) {
        reply(response, api.preset(request.body));
    });
    server.Post(base + "/api/preview", [&api](const httplib::Request& request, httplib::Response& response) {
        reply(response, api.preview(request.body));
    });
    server.Post(base + "/api/command", [&api](const httplib::Request& request, httplib::Response& response) {
        reply(response, api.command(request.body));
    });
    server.Post(base + "/api/save-preset", [&api](const httplib::Request& request, httplib::Response& response) {
        reply(response, api.savePreset(request.body));
    });
    server.Post(base + "/api/block", [&api](const httplib::Request& request, httplib::Response& response) {
        reply(response, api.block(request.body));
    });
    server.Post(base + "/api/import", [&api](const httplib::Request& request, httplib::Response& response) {
        reply(response, api.importFile(request.body));
    });
    server.Post(base + "/api/export", [&api](const httplib::Request& request, httplib::Response& response) {
        reply(response, api.startExport(request.body));
    });
    // The page's Stop button: the server ends once this answer is sent.
    server.Post(base + "/api/quit", [&server](const httplib::Request&, httplib::Response& response) {
        reply(response, StudioReply{200, "application/json", "{\"stopping\": true}", {}});
        server.stop();
    });
    server.Post(base + R"(/api/export/(\d+)/cancel)",
                [&api](const httplib::Request& request, httplib::Response& response) {
                    reply(response, api.cancelExport(idOf(request)));
                });
}

StudioServer::~StudioServer() { stop(); }

void StudioServer::bind() {
    const std::uint16_t asked = m_state->settings.port;
    const int port = asked == 0 ? m_state->server.bind_to_any_port(kLoopback)
                                : (m_state->server.bind_to_port(kLoopback, asked) ? asked : -1);
    if (port <= 0) {
        throw job::JobError(asked == 0 ? std::string("cannot listen on a port of ") + kLoopback
                                       : "cannot listen on " + std::string(kLoopback) + ":" + std::to_string(asked) +
                                             " (is it taken?)");
    }
    m_state->port = port;
}

void StudioServer::serve() {
    if (m_state->port > 0) {
        m_state->server.listen_after_bind();
    }
}

void StudioServer::stop() { m_state->server.stop(); }

std::uint16_t StudioServer::port() const { return static_cast<std::uint16_t>(std::max(m_state->port, 0)); }

const std::string& StudioServer::token() const { return m_state->settings.token; }

std::string StudioServer::address() const {
    return "http://" + std::string(kLoopback) + ":" + std::to_string(port()) + "/" + token() + "/";
}

} // namespace morvessan::studio
