// The values a texture record's fields are used as, however a parameter block or
// a file left them: the one place for every limit the engine applies.
#pragma once

#include "texture/TexturePreset.h"

namespace morvessan {

// The type; Cloud for anything outside Cloud..Wood.
TextureType usableType(std::int32_t type);

// The noise level limited to 0..12; not a number gives 0. Its whole part is the octave count.
double usableNoiseLevel(double level);

// The number of gradient stops, limited to 1..8.
int usableColourCount(std::int32_t count);

// A gradient stop's position, limited to 0..255.
int usablePosition(std::int32_t position);

// The blur amount, limited to 0..100 (the editors keep 1..100).
std::int32_t usableBlur(std::int32_t blur);

} // namespace morvessan
