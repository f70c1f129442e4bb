// JPEG pictures through the libjpeg interface, from a block of memory or a file,
// into a top-down VXImage2.
#pragma once

#include "VXLib/VXImage2.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace morvessan {

// Decodes a JPEG from memory. An empty `image` is created top-down with the picture's
// size: 8 bits with the grey table for greyscale, else 24 bits blue-green-red. A
// non-empty `image` must already have that width, height and bit count, and receives
// the rows (y from the top). Pictures with neither one nor three components (CMYK,
// YCCK) and pictures over the size limits are refused. A truncated stream decodes as
// far as its data goes. Library errors unwind here; everything is freed and the
// result is false (an image this call created is left empty).
bool vxLoadJpegMemory(const std::uint8_t* data, std::size_t size, VXImage2& image);

// Resets `image`, reads the whole file into memory and decodes it as above.
bool vxLoadJpegFile(const std::string& path, VXImage2& image);

} // namespace morvessan
