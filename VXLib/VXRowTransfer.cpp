// The colour-row transfer: unpacking rows of any depth to colours and packing
// colours into 8-, 24- and 32-bit rows, with nearest-neighbour index choice.
#include "VXLib/VXRowTransfer.h"

#include "VXLib/VXPalette.h"

namespace morvessan {

bool vxUnpackRow(const VXDIBBuffer& source, int y, std::uint32_t* out, bool keepAlpha) {
    const std::uint8_t* r = source.row(y);
    if (r == nullptr)
        return false;
    const int w = source.width();
    const int bc = source.bitCount();
    if (bc <= 8) {
        const VXRGBQuad* table = source.colourTable();
        const int entries = source.colourTableEntries();
        const int perByte = 8 / bc;
        const unsigned mask = (1u << bc) - 1;
        for (int x = 0; x < w; ++x) {
            const int shift = 8 - bc * (x % perByte + 1);
            const unsigned index = (r[x / perByte] >> shift) & mask;
            out[x] = int(index) < entries ? vxColourOf(table[index]) : 0;
        }
        return true;
    }
    if (bc == 24) {
        for (int x = 0; x < w; ++x, r += 3)
            out[x] = vxRGB(r[2], r[1], r[0]);
        return true;
    }
    if (bc == 32) {
        for (int x = 0; x < w; ++x, r += 4)
            out[x] = vxRGB(r[2], r[1], r[0]) | (keepAlpha ? std::uint32_t(r[3]) << 24 : 0u);
        return true;
    }
    return false;
}

bool vxPackRow(const std::uint32_t* colours, VXDIBBuffer& destination, int y, VXPalette* palette) {
    std::uint8_t* r = destination.row(y);
    if (r == nullptr)
        return false;
    const int w = destination.width();
    switch (destination.bitCount()) {
    case 8:
        if (palette == nullptr || palette->count() == 0)
            return false;
        for (int x = 0; x < w; ++x)
            r[x] = palette->inverseLookup(colours[x]);
        return true;
    case 24:
        for (int x = 0; x < w; ++x, r += 3) {
            r[0] = vxBlue(colours[x]);
            r[1] = vxGreen(colours[x]);
            r[2] = vxRed(colours[x]);
        }
        return true;
    case 32:
        for (int x = 0; x < w; ++x, r += 4) {
            r[0] = vxBlue(colours[x]);
            r[1] = vxGreen(colours[x]);
            r[2] = vxRed(colours[x]);
            r[3] = vxAlpha(colours[x]);
        }
        return true;
    default: return false;
    }
}

std::vector<int> vxNearestIndices(int sourceCount, int destinationCount) {
    std::vector<int> out(destinationCount > 0 ? std::size_t(destinationCount) : 0);
    for (int j = 0; j < destinationCount; ++j)
        out[j] = int(std::int64_t(j) * sourceCount / destinationCount);
    return out;
}

} // namespace morvessan
