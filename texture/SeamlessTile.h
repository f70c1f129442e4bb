// The "Seamless" choice a parameter block stores: the same wrapping pattern space
// the command line's --tileable draws, sized to the filter rectangle.
#pragma once

#include "texture/FilterParameters.h"
#include "texture/PatternSpace.h"

#include <string>

namespace morvessan {

// Whether the block asks for a seamless tile (any value but 0 in its byte).
bool seamlessAsked(const FilterParameters& block);
void setSeamless(FilterParameters& block, bool on);

// Why the block's transformation cannot be drawn as a tile, in the command
// line's words ("The pattern cannot be drawn: ..."); "" when it can.
std::string seamlessRefusal(const TextureTransform& transformation);

// The space a render draws in: what the host asked for, wrapping too when the
// block asks for it and its transformation allows a tile. A block whose
// transformation cannot tile (perspective) keeps the plane, so a recorded block
// always renders what its dialog showed.
PatternSpace drawnPatternSpace(const FilterParameters& block, const PatternSpace& asked);

} // namespace morvessan
