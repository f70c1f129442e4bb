// FilterParameters: the 832-byte block that the host keeps for the plug-in
// between runs: a texture at its head, then the current preset file and flags.
#pragma once

#include "texture/TexturePreset.h"

namespace morvessan {

struct FilterParameters {
    TextureFields texture;
    char presetFile[kPathSize];
    std::int32_t categoryIndex;
    // 1: the texture wraps across the filter rectangle ("Seamless"). Blocks from
    // before the choice hold 0 here, so they render as they always did.
    std::uint8_t seamless;
    std::uint8_t scaleBySource;
    std::uint8_t overwriteSource;
};

inline constexpr std::size_t kFilterParametersSize = 832;

static_assert(offsetof(FilterParameters, texture) == 0);
static_assert(offsetof(FilterParameters, presetFile) == 560);
static_assert(offsetof(FilterParameters, categoryIndex) == 820);
static_assert(offsetof(FilterParameters, seamless) == 824);
static_assert(offsetof(FilterParameters, scaleBySource) == 825);
static_assert(offsetof(FilterParameters, overwriteSource) == 826);
static_assert(sizeof(FilterParameters) == kFilterParametersSize);

// Writes the defaults into a block the host has just allocated: the texture
// defaults, an empty preset file name, category 0, not seamless, both flags off.
// Padding and the path bytes after the first are left untouched.
void writeDefaultParameters(FilterParameters& block);

// The block's texture as a preset (no name), and back (the name is not stored).
TexturePreset presetFromBlock(const FilterParameters& block);
void storePresetInBlock(FilterParameters& block, const TextureFields& fields);

} // namespace morvessan
