// What the studio's page can ask for, one call a request, each answered with a
// status and a body; the server only routes to these, so every answer is tested without a network.
#pragma once

#include "studio/StudioServer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace morvessan::studio {

struct StudioReply {
    int status = 200;
    std::string type = "application/json";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
};

class StudioApi {
public:
    explicit StudioApi(StudioSettings settings);
    ~StudioApi(); // stops and waits for the exports under way
    StudioApi(const StudioApi&) = delete;
    StudioApi& operator=(const StudioApi&) = delete;

    // Every field as the field table declares it, the texture pictures, the limits.
    StudioReply fields() const;
    // The preset library: files (shipped or the user's), categories, preset names.
    StudioReply library() const;
    // {"file", "category", "name"}: that preset's fields.
    StudioReply preset(const std::string& body) const;
    // A size x size PNG of a preset, kept for the next asking.
    StudioReply thumbnail(const std::string& file, const std::string& category, const std::string& name,
                          std::int32_t size);
    // A texture request (with "seq", a number that grows with each edit of the page
    // named by "page"): its PNG, and the transformation after its steps in
    // X-Morvessan-Transformation. A request that a later one of its page overtook
    // while it waited or ran is answered 409.
    StudioReply preview(const std::string& body);
    // {"commandLine", "python"} that make the texture's picture again.
    StudioReply command(const std::string& body) const;
    // A texture request with "file", "category" and "name": the preset added to the
    // user's library as "presets add" adds it.
    StudioReply savePreset(const std::string& body);
    // The texture's parameter block, as "--params" files hold it.
    StudioReply block(const std::string& body) const;
    // A parameter block file's bytes or a preset file's text: its fields, or its presets'.
    StudioReply importFile(const std::string& body) const;
    // A texture request with "file" (a PNG name in the export folder) and "overwrite":
    // starts drawing it in the background; {"id"}.
    StudioReply startExport(const std::string& body);
    StudioReply exportState(std::uint64_t id) const;
    StudioReply cancelExport(std::uint64_t id);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace morvessan::studio
