// VXMaskDIBBuffer: a 1-bit bitmap with the table black (0) and white (1), used as
// a transparency mask, and the building of such a mask from a key colour.
#pragma once

#include "VXLib/VXAutoPtr.h"
#include "VXLib/VXDIBBuffer.h"

namespace morvessan {

class VXMaskDIBBuffer : public VXDIBBuffer {
public:
    // A zeroed mask of the given size; height in the stored sense (negative = top-down).
    bool create(int width, int height) { return VXDIBBuffer::create(width, height, 1, nullptr); }

    // Bit of pixel (x, y), y from the top; 0 outside the mask.
    int bit(int x, int y) const { return int(pixel(x, y)); }
    void setBit(int x, int y, int value) { setPixel(x, y, value ? 1u : 0u); }
};

// A mask of the source's size and storage order with bit 0 where the pixel's red,
// green and blue equal the key's and 1 elsewhere. Indexed sources are compared
// through their table; a key with bit 24 set is compared with the pixel's index.
// Null for an empty source or a depth without colours to compare.
VXAutoPtr<VXMaskDIBBuffer> vxBuildMask(const VXDIBBuffer& source, std::uint32_t key);

} // namespace morvessan
