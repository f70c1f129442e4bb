// One strip of a PNG's filtered rows deflated on its own, at the level asked, into
// raw deflate data that the next strip's can follow in the same zlib stream.
#pragma once

#include "VXLib/VXImageWriter.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace morvessan {

// Raw deflate data of `size` bytes at `data` (no zlib header or checksum). Unless
// `last`, it ends on a byte boundary without a final block, as zlib's sync flush
// leaves it; the last strip's ends the stream. The bytes depend only on the input
// and the level. False when an encoder fails.
bool vxDeflateStrip(const std::uint8_t* data, std::size_t size, bool last, VXPngCompression compression,
                    std::vector<std::uint8_t>& out);

// The second byte of the zlib header for `compression` (the first is 0x78): the
// level the header names, which readers only show.
std::uint8_t vxZlibLevelByte(VXPngCompression compression);

} // namespace morvessan
