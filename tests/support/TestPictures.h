// Pieces of pictures that several test programs build by hand: big-endian words
// and a small RGB display profile that libpng and libjpeg accept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace morvessan::test {

inline void putBe32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    }
}

// An RGB display profile of `size` bytes (at least 144): a header and one tag
// over the rest, filled with a pattern so that a profile cut short shows.
inline std::vector<std::uint8_t> iccProfile(std::uint32_t size) {
    std::vector<std::uint8_t> p(size, 0);
    putBe32(p, 0, size);
    putBe32(p, 8, 0x02100000);
    std::memcpy(p.data() + 12, "mntrRGB XYZ ", 12);
    std::memcpy(p.data() + 36, "acsp", 4);
    putBe32(p, 68, 0x0000F6D6);
    putBe32(p, 72, 0x00010000);
    putBe32(p, 76, 0x0000D32D);
    putBe32(p, 128, 1);
    std::memcpy(p.data() + 132, "cprt", 4);
    putBe32(p, 136, 144);
    putBe32(p, 140, size - 144);
    for (std::uint32_t i = 144; i < size; ++i) {
        p[i] = static_cast<std::uint8_t>(i * 7);
    }
    return p;
}

} // namespace morvessan::test
