// The colour table the gradient editor's strip shows: the stops' own colours and
// opacities, whatever the texture's total opacity.
#pragma once

#include "texture/ColourTable.h"
#include "texture/GradientStops.h"

#include <vector>

namespace morvessan {

// The 1000 entries of the strip in display order, built at a total opacity of 100 %.
std::vector<ColourEntry> gradientStripTable(const GradientStops& stops);

} // namespace morvessan
