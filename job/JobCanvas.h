// The blank picture a render draws on: white, transparent or one #RRGGBB colour,
// as the command line and the Python module both offer it.
#pragma once

#include "host/HostImage.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace morvessan {

// "" when `background` names a canvas ("white", "transparent" or "#RRGGBB"); else
// the sentence that says so.
std::string canvasBackgroundProblem(std::string_view background);
// A width x height canvas of a background that names one: four clear planes when
// transparent, otherwise three of its colour.
HostImage blankCanvas(std::int32_t width, std::int32_t height, std::string_view background);
// The same canvas without its pixels, for a run that streams its rows: its size and
// planes, and what fills each of its rows.
HostImage canvasShape(std::int32_t width, std::int32_t height, std::string_view background);
std::function<void(std::int32_t y, std::uint8_t* row)> canvasRows(std::int32_t width, std::string_view background);

} // namespace morvessan
