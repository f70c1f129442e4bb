// Windows icon (.ico) and cursor (.cur) files from 32-bit pictures: the directory,
// then each picture as a 32-bit bitmap followed by its AND mask.
#pragma once

#include "VXLib/VXImage2.h"

#include <cstdint>
#include <span>
#include <vector>

namespace morvessan {

// An icon file holding `images` in the order given. Each must be 32 bits per pixel and
// 1 to 256 pixels a side; otherwise, or with no images, the result is empty.
std::vector<std::uint8_t> encodeIconFile(std::span<const VXImage2> images);

// A cursor file holding `image` (rules as for icons) with its hotspot at pixel
// (hotspotX, hotspotY) from the top left; empty when the hotspot lies outside it.
std::vector<std::uint8_t> encodeCursorFile(const VXImage2& image, int hotspotX, int hotspotY);

} // namespace morvessan
