// The content types of the page's files, told by their extensions.
#include "studio/StudioPage.h"

namespace morvessan::studio {

std::string_view studioPageType(std::string_view name) {
    const auto endsWith = [name](std::string_view end) {
        return name.size() >= end.size() && name.substr(name.size() - end.size()) == end;
    };
    if (endsWith(".html")) {
        return "text/html; charset=utf-8";
    }
    if (endsWith(".js")) {
        return "text/javascript; charset=utf-8";
    }
    if (endsWith(".css")) {
        return "text/css; charset=utf-8";
    }
    if (endsWith(".svg")) {
        return "image/svg+xml";
    }
    return "application/octet-stream";
}

} // namespace morvessan::studio
