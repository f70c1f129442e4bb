// 16-bit pictures of a parameter block over a blank canvas, for the command
// line and the Python module: the smooth-gradient colours or the height map.
#pragma once

#include "renderer/DeepPicture.h"
#include "renderer/NormalMap.h"
#include "texture/FilterParameters.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace morvessan {

// The canvas a background names ("white", "transparent" or "#RRGGBB").
DeepCanvas deepCanvas(std::string_view background);

// The samples a pixel of the picture has: 1 (height map), 3 (normal map, or colour)
// or 4 (colour over a transparent canvas).
std::int32_t deepPlanes(DeepKind kind, const DeepCanvas& canvas);

// The block's texture over a width x height canvas, as the filter draws it but
// in 16 bits: the same tiles, grain and texture picture (read from the path the
// block names). Each row of width x planes samples goes to `row` in order; a row
// it refuses (false) ends the drawing, and the result is false.
// Drawn in `pattern`, which must have no patternProblem with the block's transformation.
bool drawDeepPicture(const FilterParameters& block, std::int32_t width, std::int32_t height, const DeepCanvas& canvas,
                     DeepKind kind, const std::function<bool(const std::uint16_t* row)>& row,
                     const PatternSpace& pattern = {}, const NormalStyle& normal = {});

// The whole picture, row by row; empty when `keepGoing` (asked at every row) said
// to stop.
std::vector<std::uint16_t> deepPicture(const FilterParameters& block, std::int32_t width, std::int32_t height,
                                       const DeepCanvas& canvas, DeepKind kind, const PatternSpace& pattern = {},
                                       const std::function<bool()>& keepGoing = {}, const NormalStyle& normal = {});

} // namespace morvessan
