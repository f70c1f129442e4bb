// Gradients for the tests: a texture record whose colour stops are the given
// (colour, position) pairs, in order, and nothing else changed from the defaults.
#pragma once

#include "texture/TexturePreset.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

namespace morvessan::testing {

inline TextureFields stops(std::initializer_list<std::pair<std::uint32_t, std::int32_t>> list) {
    TextureFields f;
    int i = 0;
    for (const auto& [colour, position] : list) {
        f.colours[i] = colour;
        f.positions[i] = position;
        ++i;
    }
    f.colourCount = i;
    return f;
}

} // namespace morvessan::testing
