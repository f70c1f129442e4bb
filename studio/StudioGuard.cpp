// The studio's checks on every request and on the names of the files it writes,
// kept apart from the server so that each rule is tested without a network.
#include "studio/StudioGuard.h"

#include "VXLib/VXUTIL/VXAsciiCase.h"

#include <string>

namespace morvessan::studio {

namespace {

// Compares in time that does not depend on where the texts first differ, so that
// the token cannot be guessed a character at a time.
bool sameSecret(std::string_view a, std::string_view b) {
    unsigned difference = a.size() == b.size() ? 0u : 1u;
    for (std::size_t i = 0; i < a.size(); ++i) {
        difference |= static_cast<unsigned>(static_cast<unsigned char>(a[i]) ^
                                            static_cast<unsigned char>(i < b.size() ? b[i] : 0));
    }
    return difference == 0;
}

} // namespace

StudioRefusal checkStudioRequest(std::string_view host, std::string_view origin, std::string_view fetchSite,
                                 std::string_view path, std::uint16_t port, std::string_view token) {
    const std::string ours = ":" + std::to_string(port);
    if (!equalsIgnoreCase(host, "127.0.0.1" + ours) && !equalsIgnoreCase(host, "localhost" + ours)) {
        return {421, "this server answers only to 127.0.0.1" + ours};
    }
    if (!origin.empty() && !equalsIgnoreCase(origin, "http://127.0.0.1" + ours) &&
        !equalsIgnoreCase(origin, "http://localhost" + ours)) {
        return {403, "requests from other sites are refused"};
    }
    if (fetchSite == "cross-site" || fetchSite == "same-site") {
        return {403, "requests from other sites are refused"};
    }
    const std::string_view given = path.size() > 1 ? path.substr(1, path.find('/', 1) - 1) : std::string_view();
    if (token.empty() || !sameSecret(given, token) || path.size() < token.size() + 2 || path[token.size() + 1] != '/') {
        return {404, "not found"};
    }
    return {};
}

bool isExportFileName(std::string_view name, std::string_view extension) {
    if (name.empty() || name.size() > 200 || name.size() <= extension.size() || name.front() == '.' ||
        name.front() == '-' || name.back() == ' ' || name.back() == '.') {
        return false;
    }
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) {
            return false;
        }
    }
    if (name.find("..") != std::string_view::npos) {
        return false;
    }
    // Names Windows keeps for its devices, whatever follows them.
    const std::string_view stem = name.substr(0, name.find('.'));
    for (const std::string_view device : {"CON", "PRN", "AUX", "NUL"}) {
        if (equalsIgnoreCase(stem, device)) {
            return false;
        }
    }
    if (stem.size() == 4 &&
        (equalsIgnoreCase(stem.substr(0, 3), "COM") || equalsIgnoreCase(stem.substr(0, 3), "LPT")) && stem[3] >= '0' &&
        stem[3] <= '9') {
        return false;
    }
    return equalsIgnoreCase(name.substr(name.size() - extension.size()), extension);
}

} // namespace morvessan::studio
