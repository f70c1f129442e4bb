// What the Python module does, in plain C++: textures rendered onto new canvases
// or over pictures through PluginMain, and the preset library, by field names.
#pragma once

#include "job/JobDeepPicture.h"
#include "host/HostImage.h"
#include "job/JobPattern.h"
#include "renderer/NormalMap.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace morvessan::python {

// Where presets and texture pictures are read from.
struct TextureFolders {
    std::string presets;
    std::string textures;
};

// What to draw: a preset to start from (else the defaults), then fields set by
// name from their text ("noiseSeed" = "7"), in order.
struct TextureRequest {
    std::optional<std::string> preset;
    std::optional<std::string> presetFile;
    std::optional<std::string> category;
    std::vector<std::pair<std::string, std::string>> fields;
    // Pixels to the pattern's unit in both directions; 0: the picture is the unit.
    std::int32_t patternSize = 0;
    // A tile that wraps, noise that evolves and loops (render only).
    PatternRequest pattern;
    // Asked now and then during the run: true stops it (the run then fails).
    std::function<bool()> interrupted;
    // apply's selection: 255 where the texture is drawn whole, 0 where the picture stays.
    std::optional<HostMask> mask;
    // render's normal map (normal_map=True) and how it is drawn; the unit is filled in
    // from the pattern size or the picture.
    bool normalMap = false;
    NormalStyle normal;
};

// Refused input: a field, value or size out of range, an unknown preset; the
// message is the command line's for the same mistake.
struct RequestError {
    std::string message;
};

// A canvas size and background the command line's render would take; a
// RequestError when not.
void checkCanvas(std::int32_t width, std::int32_t height, const std::string& background);

// A new width x height canvas ("white", "transparent" or "#RRGGBB") with the
// texture drawn over it, as `render` streams it (sides up to its 65535): each row
// of width x planes bytes (four planes when transparent, else three) goes to `row`
// in order, so that the caller keeps the picture once. Throws RequestError for bad
// input and std::runtime_error when the run fails.
void renderTexture(std::int32_t width, std::int32_t height, const std::string& background,
                   const TextureRequest& request, const TextureFolders& folders,
                   const std::function<void(std::int32_t y, const std::uint8_t* row)>& row);
// A 16-bit picture: rows of width x planes samples (1 grey, 3 RGB, 4 RGBA).
struct DeepTexture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t planes = 0;
    std::vector<std::uint16_t> samples;
};

// The same texture in 16 bits, as render --depth 16 (DeepKind::Colour) or
// --height-map draws it; the planes of a colour picture as renderTexture's.
DeepTexture renderDeepTexture(std::int32_t width, std::int32_t height, const std::string& background,
                              const TextureRequest& request, const TextureFolders& folders, DeepKind kind);
// The texture drawn over `image` (three or four planes), as `apply` draws it.
HostImage applyTexture(HostImage image, const TextureRequest& request, const TextureFolders& folders);

struct PresetName {
    std::string file;
    std::string category;
    std::string name;
};
// Every preset of the library, file by file in the library's order.
std::vector<PresetName> listPresets(const TextureFolders& folders);
// The fields of one preset as text, in the field table's order, each read back
// exactly by TextureRequest::fields.
std::vector<std::pair<std::string, std::string>> presetFields(const TextureRequest& choice,
                                                              const TextureFolders& folders);

} // namespace morvessan::python
