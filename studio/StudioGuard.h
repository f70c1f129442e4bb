// Who may drive the studio: requests from this machine's own page, named by its
// token, and nothing a web page elsewhere or another user could send.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morvessan::studio {

struct StudioRefusal {
    int status = 0; // 0: the request may go on
    std::string reason;
};

// Whether a request may go on: its Host names the loopback address and our port (no
// other name, so no DNS rebinding reaches us), its Origin, when it has one, is our
// own, a browser's Sec-Fetch-Site says it is not another site's, and its path
// starts with "/TOKEN/". `fetchSite` is "" when absent.
StudioRefusal checkStudioRequest(std::string_view host, std::string_view origin, std::string_view fetchSite,
                                 std::string_view path, std::uint16_t port, std::string_view token);

// Whether `name` may be written into the export folder: one plain file name (no
// folder, no "..", no leading dot or dash, no control or reserved characters, at
// most 200 bytes) ending in `extension` (".png") in any letter case.
bool isExportFileName(std::string_view name, std::string_view extension);

} // namespace morvessan::studio
