// A small built-in bitmap font for labelling preset sheets without a window system.
#pragma once

#include "host/HostImage.h"

#include <cstdint>
#include <string>

namespace morvessan::cli {

// Width in pixels of `text` at `scale` (6 × scale per character, less the last gap).
std::int32_t labelWidth(const std::string& text, std::int32_t scale);
// Draws `text` with its top-left corner at (x, y) in `colour` (red, green, blue);
// pixels outside the image are skipped. Characters outside ASCII show as '?'.
void drawLabel(HostImage& image, std::int32_t x, std::int32_t y, const std::string& text, std::int32_t scale,
               const std::uint8_t colour[3]);
// `text` cut with "..." to fit `width` pixels.
std::string fitLabel(const std::string& text, std::int32_t width, std::int32_t scale);

} // namespace morvessan::cli
