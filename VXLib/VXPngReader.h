// PNG pictures through libpng, from a file or from a block of memory, into a
// top-down VXImage2.
#pragma once

#include "VXLib/VXImage2.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace morvessan {

// Decodes a PNG into `image` (top-down). Results: 8 bits with the grey table for grey
// (grey with alpha loses its alpha) and with the PNG palette (256 entries, the rest
// black) for palette pictures; 24 bits blue-green-red for colour; 32 bits blue-green-
// red-alpha for colour with alpha, and for palettes whose transparency is not a single
// index (has-alpha set whenever the pixels carry alpha). 16-bit channels are cut to 8.
// Pictures over the size limits are refused before allocation. False, image empty,
// on any failure; the file variant always closes its file.
bool vxLoadPngFile(const std::string& path, VXImage2& image);
// As the file variant, and additionally records a palette's single transparent index
// (the only tRNS entry below 255, and the last entry of the chunk) as the image's
// transparent colour value, or -1.
bool vxLoadPngMemory(const std::uint8_t* data, std::size_t size, VXImage2& image);

} // namespace morvessan
