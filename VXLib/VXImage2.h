// VXImage2: the image class everything outside the host's buffers uses: a
// VXDIBBuffer with a transparent colour, an alpha flag and (on Windows) a DIB section.
#pragma once

#include "VXLib/VXDIBBuffer.h"
#include "VXLib/VXPalette.h"

#include <cstdint>
#include <vector>

namespace morvessan {

#if defined(_WIN32)
// Windows handles, kept opaque so this header needs no <windows.h>.
using VXWinHandle = void*;
struct VXRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};
#endif

// Heights given to and reported by VXImage2 are the negated stored height:
// a positive height means top-down (stored row 0 is the top of the picture).
// Every image the loaders deliver is top-down.
class VXImage2 : public VXDIBBuffer {
public:
    VXImage2() = default;
    virtual ~VXImage2();
    VXImage2(VXImage2&& other) noexcept;
    VXImage2& operator=(VXImage2&& other) noexcept;

    // A zeroed packed buffer; `height` > 0 gives top-down rows, < 0 bottom-up.
    // Palette and failure rules as VXDIBBuffer::create. Releases what it held first.
    bool create(int width, int height, int bitCount, const VXPalette* palette = nullptr);

    // Width; -1 when empty.
    int width() const { return VXDIBBuffer::width(); }
    // The negated stored height (positive = top-down); -1 when empty.
    int height() const;

    // Reverses the storage order without changing the picture: negates the stored
    // height and swaps stored rows i and rows−1−i (the middle row of an odd count stays).
    void flipOrientation();

    // Transparent colour (colour value, or -1 for none).
    std::int32_t transparentColour() const { return m_transparent_colour; }
    void setTransparentColour(std::int32_t colour) { m_transparent_colour = colour; }
    bool hasTransparentColour() const { return m_transparent_colour != -1; }
    // Whether 32-bit pixels carry meaningful alpha.
    bool hasAlpha() const { return m_has_alpha; }
    void setHasAlpha(bool hasAlpha) { m_has_alpha = hasAlpha; }

    // Replaces this image with `source` scaled (nearest neighbour) to `width` × `height`
    // (positive) pixels of `bitCount` bits, stored bottom-up. Targets: 24 and 32 bits,
    // and 8 bits mapped through `palette`'s inverse colour map (the table is `palette`,
    // or the default palette when null). `source` may be this image. An image with a
    // transparent colour gets magenta as its new transparent colour. False (image
    // unchanged) for an empty or 16-bit source or an unsupported target.
    bool convert(int width, int height, int bitCount, const VXImage2& source, const VXPalette* palette = nullptr);
    // Converts this image in place.
    bool convert(int width, int height, int bitCount, const VXPalette* palette = nullptr) {
        return convert(width, height, bitCount, *this, palette);
    }

    // Move the contents by |n| rows (columns) with overlap-safe moves: n > 0 towards
    // higher rows (columns), i.e. down (right) in a top-down image; n <= 0 towards row
    // (column) 0. Rows or columns left behind keep their contents. Nothing happens
    // when |n| is not smaller than the height (width). Expect a top-down image.
    void shiftRows(int n);
    void shiftColumns(int n);

    // Releases section, context and owned memory; transparent colour -1, no alpha.
    void reset();

#if defined(_WIN32)
    // Pixels in a GDI DIB section made against the screen context, optionally selected
    // into a new memory context. 8 bits without a palette get the default palette.
    // Implemented in VXLib/win32/.
    bool createDIBSection(int width, int height, int bitCount, const VXPalette* palette, bool makeDeviceContext);
    VXWinHandle deviceContext() const { return m_memory_dc; }
    VXWinHandle section() const { return m_section; }
    // Stretches `source` (y from the top of the picture) to `destination` on the context.
    void draw(VXWinHandle dc, const VXRect& destination, const VXRect& source, std::int32_t transparentColour = -1,
              std::int32_t backgroundColour = -1, int tolerance = 0);
    // A movable global memory block with the packed bottom-up picture; null when empty.
    VXWinHandle toGlobalMemory(unsigned flags) const;
#endif

private:
    void releaseDeviceObjects();

    std::int32_t m_transparent_colour = -1;
    bool m_has_alpha = false;
    void* m_section = nullptr;    // DIB section bitmap (Windows)
    void* m_memory_dc = nullptr;  // memory device context (Windows)
    void* m_old_object = nullptr; // what the context held before the section
};

} // namespace morvessan
