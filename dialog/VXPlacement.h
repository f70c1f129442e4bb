// Fitting a saved window rectangle back onto the screen: at least the window's natural
// size, inside the work area of the monitor nearest to it.
#pragma once

#include "dialog/VXGeometry.h"

#include <vector>

namespace morvessan {

// Index of the work area nearest to `rect` as the system picks a monitor for a window:
// the largest intersection, else the shortest distance (first on ties); -1 for none.
int nearestWorkArea(const VXRectI& rect, const std::vector<VXRectI>& workAreas);

// Normalise, grow to at least `natural`, move into the work area nearest to the
// rectangle (top edge first, then bottom, left, right), clip when still larger.
// Empty workAreas: the grown rectangle.
VXRectI fitPlacement(const VXRectI& saved, const VXSizeI& natural, const std::vector<VXRectI>& workAreas);

} // namespace morvessan
