// Building the texture object a texture record describes: type, seed,
// transformation, octaves with their weights, and the noise parameter.
#pragma once

#include "texture/PatternSpace.h"
#include "texture/Texture3D.h"
#include "texture/TexturePreset.h"

#include <memory>

namespace morvessan {

// The octave count of a stored noise level: the level limited to 0..12 (not a
// number gives 0), truncated toward zero.
int octaveCount(double noiseLevel);

// A new texture for `fields`: Fire, Marble or Wood by type, Cloud for any other
// type value. Reseeds the run-time's random sequence with the record's seed.
std::unique_ptr<Texture3D> makeTexture(const TextureFields& fields);
// The same texture drawn in `space` (which must have no patternProblem with the
// record's transformation).
std::unique_ptr<Texture3D> makeTexture(const TextureFields& fields, const PatternSpace& space);

} // namespace morvessan
