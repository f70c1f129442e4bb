// PresetCategory: one named, ordered group of presets inside a preset file.
#pragma once

#include "texture/TexturePreset.h"

#include <string>
#include <vector>

namespace morvessan {

// A category owns full copies of its presets (names included). Names are not
// checked here; the file that holds the category keeps them unique.
struct PresetCategory {
    std::string name;
    std::vector<TexturePreset> presets;
};

} // namespace morvessan
