// VXDIBBuffer: a device-independent bitmap in the packed layout (40-byte header,
// colour table, rows padded to 4 bytes), with pixel addressing and colour operations.
#pragma once

#include "VXLib/VXAutoPtr.h"
#include "VXLib/VXDIBTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace morvessan {

class VXPalette;
class VXMaskDIBBuffer;

// Pictures larger than this are refused before anything is allocated.
inline constexpr std::uint64_t kMaxImageBytes = std::uint64_t(1) << 30; // 1 GiB of pixel data
inline constexpr int kMaxImageDimension = 30000;                        // per side

// The pixel-data limit in force (kMaxImageBytes unless lowered). Fuzz targets lower it
// so that inputs declaring huge pictures fail fast; nothing else changes it.
std::uint64_t vxImageByteLimit();
void vxSetImageByteLimit(std::uint64_t bytes);

// Bytes per stored row: width × bit count bits, rounded up to whole bytes and then
// to a multiple of 4 (1 bit × 9 → 4; 24 bits × 1 → 4; 24 bits × 5 → 16).
std::uint64_t vxStride(std::int64_t width, int bitCount);

// Colour-table entries a header implies: for up to 8 bits, colours-used when it is
// non-zero and below 2^bitcount, else 2^bitcount; none above 8 bits.
int vxColourTableEntries(const VXBitmapInfoHeader& header);

// Bytes of header plus colour table: 40 + 4 × entries, or 52 for bit fields
// (compression 3) without a table.
std::uint32_t vxHeaderBlockSize(const VXBitmapInfoHeader& header);

// A bitmap in the packed layout. Heights here are as stored: positive = rows stored
// bottom-up, negative = top-down. Row and pixel coordinates always count y from the
// top of the picture, whatever the storage order.
//
// The buffer either owns its memory (one block: header, table and, when packed, the
// pixels) or refers to memory owned elsewhere (attachExternal). Not copyable; movable.
class VXDIBBuffer {
public:
    VXDIBBuffer() = default;
    ~VXDIBBuffer() = default;
    VXDIBBuffer(const VXDIBBuffer&) = delete;
    VXDIBBuffer& operator=(const VXDIBBuffer&) = delete;
    VXDIBBuffer(VXDIBBuffer&& other) noexcept;
    VXDIBBuffer& operator=(VXDIBBuffer&& other) noexcept;

    // Allocates one zeroed packed block for `width` × `height` (stored sense) pixels of
    // 1, 2, 4, 8, 16, 24 or 32 bits. The header gets size 40, planes 1, the geometry and
    // bit count, everything else 0. 8 bits: the first min(count, 256) entries of
    // `palette` are copied (the rest stay black); 1 bit: black then white.
    // False (and the buffer empty) for a zero or oversized geometry or another bit count.
    bool create(int width, int height, int bitCount, const VXPalette* palette = nullptr);

    // Takes over a packed block (header block followed by pixels) of `size` bytes.
    // The header must be a sane 40-byte header and the block long enough; otherwise
    // false, and the block is freed with the empty buffer.
    bool attachOwn(VXAutoArrayPtr<std::uint8_t> block, std::size_t size);
    // As attachOwn, on a copy of the header block and pixels; `data` is not kept.
    bool attachCopy(const std::uint8_t* data, std::size_t size);
    // Refers to a header block and pixel rows owned elsewhere (e.g. a DIB section's bits).
    // Owns nothing; the caller keeps both alive while the buffer uses them.
    // False (and the buffer empty) when the header is not a sane 40-byte header.
    bool attachExternal(VXBitmapInfoHeader* header, std::uint8_t* bits);

    // Releases what the buffer owns and makes it empty.
    void release();

    bool isEmpty() const { return m_header == nullptr; }
    bool ownsMemory() const { return m_owns_memory; }
    bool isPacked() const { return m_packed; }

    // Geometry as stored; -1 when empty.
    int width() const;
    int height() const;
    int bitCount() const;
    // Number of rows (|stored height|); 0 when empty.
    int rows() const;
    // True when rows are stored top-down (negative stored height).
    bool isTopDown() const { return m_header != nullptr && m_header->height < 0; }
    std::uint32_t stride() const { return m_stride; }
    std::uint32_t imageSize() const { return m_image_size; }

    VXBitmapInfoHeader* header() { return m_header; }
    const VXBitmapInfoHeader* header() const { return m_header; }
    std::uint32_t headerBlockSize() const { return m_header ? vxHeaderBlockSize(*m_header) : 0; }
    // The colour table that follows the header, and its length (0 above 8 bits).
    VXRGBQuad* colourTable();
    const VXRGBQuad* colourTable() const;
    int colourTableEntries() const { return m_header ? vxColourTableEntries(*m_header) : 0; }

    std::uint8_t* bits() { return m_bits; }
    const std::uint8_t* bits() const { return m_bits; }
    // First byte of row y counted from the top; null when y is out of range.
    std::uint8_t* row(int y);
    const std::uint8_t* row(int y) const;

    // Byte that holds pixel (x, y), y from the top; null outside the picture.
    // `shift`, when given, receives the pixel's bit position inside that byte:
    // (byte >> shift) masked to the bit count is the pixel (1 bit: 7 − x mod 8;
    // 2 bits: 6 − 2 × (x mod 4); 4 bits: 4 for even columns, 0 for odd; else 0).
    std::uint8_t* pixelAddress(int x, int y, int* shift = nullptr);
    const std::uint8_t* pixelAddress(int x, int y, int* shift = nullptr) const;

    // Raw pixel value at (x, y): the index for up to 8 bits, the 5-5-5 word for 16,
    // a colour value (red low; alpha in bits 24-31 for 32 bits) for 24 and 32.
    // 0 outside the picture.
    std::uint32_t pixel(int x, int y) const;
    // Writes a raw value in the same form; ignored outside the picture.
    void setPixel(int x, int y, std::uint32_t value);
    // The colour (red low, no alpha) of pixel (x, y), through the table when indexed.
    std::uint32_t pixelColour(int x, int y) const;

    // Copies imageSize() bytes of pixels from a buffer of the same width, stored height
    // and bit count; false (nothing copied) otherwise.
    bool copyPixels(const VXDIBBuffer& from);

    // The picture as one packed block stored bottom-up with a positive height
    // (a top-down buffer is written in reversed row order), image size filled in.
    // This is the clipboard form; empty when the buffer is empty.
    std::vector<std::uint8_t> toPackedBottomUp() const;

    // Every pixel equal to `from` becomes `to`. Indexed buffers compare and write the
    // index in the low byte; 16-bit buffers compare 5-5-5 values of the colours.
    // Works on 4, 8, 16 and 24 bits; other depths are left unchanged.
    void replaceColour(std::uint32_t from, std::uint32_t to);
    // Every pixel whose bit in `mask` (same size) equals `maskValue` becomes `colour`
    // (index in the low byte for indexed buffers). 4, 8, 16 and 24 bits only.
    void maskedFill(const VXMaskDIBBuffer& mask, int maskValue, std::uint32_t colour);
    // Every pixel whose red, green and blue each lie within ±tolerance of the key's
    // becomes the key colour (indexed buffers: the key's index, or the table entry
    // nearest to a colour key). A key with bit 24 set is an index, resolved through the
    // table first. Returns the resolved key colour, or -1 when nothing could be done
    // (empty buffer, a depth other than 4, 8, 16, 24 or 32, or an index outside the table).
    std::int32_t replaceColourWithinTolerance(std::uint32_t key, int tolerance);

protected:
    // Takes over an owned block and points header and bits into it.
    void adopt(VXAutoArrayPtr<std::uint8_t> block, std::size_t size, bool packed, std::uint8_t* bits);
    // Stride and image size from the header.
    void recomputeGeometry();

private:
    VXAutoArrayPtr<std::uint8_t> m_block; // owned memory, when m_owns_memory
    std::size_t m_block_size = 0;
    VXBitmapInfoHeader* m_header = nullptr;
    std::uint8_t* m_bits = nullptr;
    std::uint32_t m_image_size = 0;
    std::uint32_t m_stride = 0;
    bool m_owns_memory = false;
    bool m_packed = false;
};

} // namespace morvessan
