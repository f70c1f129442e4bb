// The bitmap file reader the picture decoder reads bitmaps with: information and core
// headers, colour tables, bit-field layouts and run-length decoding, into a packed
// bitmap block.
#pragma once

#include "VXLib/VXAutoPtr.h"
#include "VXLib/VXImage2.h"

#include <cstddef>
#include <cstdint>

namespace morvessan {

// Result codes of the bitmap reader (internal, never shown).
inline constexpr int kBitmapRead = 0;
inline constexpr int kBitmapUnusable = 300; // not a usable bitmap

// A packed bitmap: 40-byte header, colour table (2^bitcount entries up to 8 bits),
// then the uncompressed pixel rows in the file's storage order.
struct VXPackedBitmap {
    VXAutoArrayPtr<std::uint8_t> block;
    std::size_t size = 0;
};

// Reads a bitmap file's bytes (never outside `data`). Header sizes 40 and 12, and the
// 52-, 56-, 108- and 124-byte forms that extend the 40-byte one (their colour space is
// not used); 1, 2, 4, 8, 16, 24 and 32 bits; run-length 8- and 4-bit data decoded;
// bit-field 5-5-5 and 5-6-5 (16 bits) loaded as 24 bits and 8-8-8 (32 bits) as 32
// bits, other masks refused. Returns kBitmapRead or kBitmapUnusable; `out` is filled
// only on success. With `truncated` given, pixel data cut short is no failure: the
// whole rows present are read (the rest stay zero), run-length data is decoded as far
// as the file goes, the declared image size is not held against the rows, and
// `*truncated` is set.
int vxReadBitmapMemory(const std::uint8_t* data, std::size_t size, VXPackedBitmap& out, bool* truncated = nullptr);

// Reads a bitmap file's bytes into `image`, top-down. False (image empty) on failure.
bool vxLoadBitmapMemory(const std::uint8_t* data, std::size_t size, VXImage2& image, bool* truncated = nullptr);

// Run-length decoding into `rows` stored rows of `stride` bytes (zeroed by the caller),
// starting at stored row 0. `fourBit` selects the nibble form. Pairs (n, v) write n
// copies while they fit the output budget (one image size; twice that in pixels for
// nibbles) and are skipped otherwise; 0,0 ends a line, 0,1 the bitmap, 0,2,dx,dy moves
// right dx and up dy rows; 0,n copies n literal pixels. Writes past a row or the buffer
// and runs past the input are cut.
void vxDecodeRunLength(const std::uint8_t* input, std::size_t inputSize, std::uint8_t* pixels, std::uint32_t stride,
                       int rows, bool fourBit);

} // namespace morvessan
