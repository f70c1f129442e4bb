// The texture map rendering samples: the picture named by a texture path as raw
// 8-bit values, top-down, or a neutral map when the picture cannot be used.
#pragma once

#include "VXLib/VXImage2.h"

#include <string>

namespace morvessan {

// Side of the neutral map, every value of which is kNeutralTextureValue.
inline constexpr int kNeutralTextureSize = 20;
inline constexpr std::uint8_t kNeutralTextureValue = 128;

// Builds the texture map for the picture at `path` (read by vxReadIndexedPicture).
// The result is always usable: a top-down 8-bit image with the grey table, as wide
// and high as the picture (width(), height() > 0), where row(r)[c] is the value at
// column c of row r from the top; sample it at (x mod width, y mod height).
// - a picture of stored values gives them raw (palette indices, whatever the table);
// - any other picture gives its luminance, 0.299 R + 0.587 G + 0.114 B rounded;
// - a missing, unreadable or empty path gives the neutral 20 × 20 map of 128.
VXImage2 prepareTextureMap(const std::string& path);

// The neutral 20 × 20 map of 128.
VXImage2 neutralTextureMap();

// Luminance of a colour value (red in the low byte), rounded half up.
std::uint8_t vxLuminance(std::uint32_t colour);

} // namespace morvessan
