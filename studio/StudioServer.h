// Morvessan Studio's web server: the page and its requests on the loopback address
// alone, driven only by those who hold the random token in its address.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace morvessan::studio {

struct StudioSettings {
    std::string presetsDir;  // the user's own preset folder: saved presets go here
    std::string texturesDir; // texture pictures named without a folder
    bool makePresetsFolder = false;
    std::string exportDir;  // the folder exported pictures and blocks are written to
    std::string token;      // empty: a new random one
    std::uint16_t port = 0; // 0: a free one
};

// The largest request body: a preset file to import, or a texture request.
inline constexpr std::size_t kMaxRequestBytes = 4u << 20;

class StudioServer {
public:
    explicit StudioServer(StudioSettings settings);
    ~StudioServer();
    StudioServer(const StudioServer&) = delete;
    StudioServer& operator=(const StudioServer&) = delete;

    // Binds 127.0.0.1 on the port asked for (a free one with 0); a JobError when it cannot.
    void bind();
    // Answers requests until stop(); returns at once when not bound.
    void serve();
    // Stops serving, from any thread (a signal's watcher); exports under way are stopped.
    void stop();

    std::uint16_t port() const;
    const std::string& token() const;
    // "http://127.0.0.1:PORT/TOKEN/": the page.
    std::string address() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// 32 hexadecimal digits from the system's source of randomness.
std::string randomToken();

} // namespace morvessan::studio
