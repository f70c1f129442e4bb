// The colour-row transfer behind conversion: rows unpacked to one 32-bit colour per
// pixel, packed into another depth, and the nearest-neighbour column and row choice.
#pragma once

#include "VXLib/VXDIBBuffer.h"

#include <cstdint>
#include <vector>

namespace morvessan {

class VXPalette;

// Unpacks row y (from the top) of a 1-, 2-, 4-, 8-, 24- or 32-bit buffer into
// `out` (width() colours, red low). Indexed pixels give their table entry (black past
// the table); 32-bit pixels keep their alpha in bits 24-31 when `keepAlpha`, else 0.
// False for 16 bits, an empty buffer or a row out of range.
bool vxUnpackRow(const VXDIBBuffer& source, int y, std::uint32_t* out, bool keepAlpha);

// Packs width() colours into row y of a 24- or 32-bit buffer (blue, green, red, and
// for 32 bits the colour's alpha byte), or of an 8-bit buffer as indices through the
// palette's inverse colour map. False for other depths or a missing palette.
bool vxPackRow(const std::uint32_t* colours, VXDIBBuffer& destination, int y, VXPalette* palette);

// The source index each of `destinationCount` positions takes when scaling from
// `sourceCount`: ⌊j × sourceCount / destinationCount⌋ (3 → 7 gives 0,0,0,1,1,2,2).
std::vector<int> vxNearestIndices(int sourceCount, int destinationCount);

} // namespace morvessan
