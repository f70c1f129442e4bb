// What the studio's page asks to be drawn: the fields as text, the canvas and the
// pattern space, read from a request's JSON with every value checked as the command line checks it.
#pragma once

#include "job/JobEdits.h"
#include "job/JobPattern.h"
#include "texture/FilterParameters.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace morvessan::studio {

// The largest preview a page may ask for, and the most fields and bytes of one value.
inline constexpr std::int32_t kMaxPreviewSide = 2048;
inline constexpr std::size_t kMaxFieldText = 4096;

// A transformation step the page asks for before a preview: the dialog's own
// operations about the rectangle's centre, in the preview's pixels.
struct StudioStep {
    enum class Kind { Move, Rotate, Zoom } kind = Kind::Move;
    double x = 0; // move: pixels right; rotate: degrees clockwise; zoom: factor
    double y = 0; // move: pixels down
};

struct StudioTexture {
    std::vector<std::pair<std::string, std::string>> fields; // ("noiseSeed", "7"), over the defaults
    std::int32_t width = 512;
    std::int32_t height = 512;
    std::string background = "white";
    bool tileable = false;
    std::int32_t patternSize = 0;
    PatternRequest pattern; // evolve, loop and frame; tileable is copied in
    std::int32_t depth = 8; // 16: the smooth gradient in 16 bits a channel (--depth 16)
    bool heightMap = false; // the texture's own values as 16-bit grey (--height-map)
    bool normalMap = false; // their slopes as 16-bit tangent-space normals (--normal-map)
    std::vector<StudioStep> steps;
};

// The texture of `request`: a request error (a JobError with kBadRequestStatus) that
// names the key when a value is missing, of the wrong kind or out of range.
// `maxSide` bounds the width and height.
StudioTexture readStudioTexture(const nlohmann::json& request, std::int32_t maxSide);

// The block of the texture as the page keeps editing it: the defaults, its fields,
// then its steps (in the preview's pixels). A request error when a field cannot be set.
std::vector<std::uint8_t> studioBlock(const StudioTexture& texture, const std::string& texturesDir);

// The fields of a block as the page holds them, each in the form it reads back exactly.
nlohmann::json fieldTexts(const TextureFields& fields);

} // namespace morvessan::studio
