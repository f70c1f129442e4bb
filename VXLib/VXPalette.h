// VXPalette: a colour table of up to 256 entries with the searches built on it
// (nearest colour, inverse colour map, 15-bit table) and the standard palettes.
#pragma once

#include "VXLib/VXDIBTypes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace morvessan {

class VXPalette {
public:
    static constexpr int kMaxEntries = 256;
    static constexpr std::size_t kInverseMapSize = 32768;

    // An invalid, empty palette.
    VXPalette() = default;
    // A palette of `count` entries; see setColours.
    VXPalette(const VXRGBQuad* entries, int count);
    virtual ~VXPalette() = default;

    VXPalette(const VXPalette&) = default;
    VXPalette& operator=(const VXPalette&) = default;
    VXPalette(VXPalette&&) noexcept = default;
    VXPalette& operator=(VXPalette&&) noexcept = default;

    // Replaces the table. More than 256 entries (or a negative count) is refused:
    // the palette is then empty and invalid, and the result false.
    bool setColours(const VXRGBQuad* entries, int count);

    // The 256-entry default palette: the twenty fixed system colours at 0-9 and
    // 246-255 (0 black, 7 silver 192,192,192, 248 grey 128, 253 magenta, 255 white, ...),
    // ramps of greys and of tints of red, green, blue, yellow, magenta and cyan between.
    static VXPalette defaultPalette();
    // 256 greys: entry i = (i, i, i).
    static VXPalette greyPalette();

    bool isValid() const { return m_valid; }
    int count() const { return int(m_entries.size()); }
    // The table itself (blue, green, red, 0 per entry); null when empty.
    const VXRGBQuad* entries() const { return m_entries.empty() ? nullptr : m_entries.data(); }
    // Entry `index` as a colour value (red in the low byte); 0 outside the table.
    std::uint32_t colour(int index) const;

    // Index of the entry nearest to `colour` (sum of squared channel differences);
    // on equal distance the later entry wins. -1 when the palette is empty.
    int nearestIndex(std::uint32_t colour) const;
    // As nearestIndex, never answering `skipIndex`; -1 when no other entry exists.
    int nearestIndexSkipping(std::uint32_t colour, int skipIndex) const;

    // The inverse colour map, built on first use: entry i holds the nearest index to
    // red (i & 31) << 3, green ((i >> 5) & 31) << 3, blue ((i >> 10) & 31) << 3;
    // entry 0x7FFF is computed for pure white. Empty when the palette is empty.
    const std::vector<std::uint8_t>& inverseColourMap();
    // Nearest index through the inverse map (5 bits per channel).
    std::uint8_t inverseLookup(std::uint32_t colour);

    // The 15-bit table: entry i = (B >> 3) << 10 | (G >> 3) << 5 | (R >> 3); 0 past the table.
    const std::array<std::uint16_t, kMaxEntries>& table15() const { return m_table15; }

    // The logical-palette block: 16-bit version 0x300, 16-bit entry count, then
    // per entry red, green, blue, flags 0.
    virtual std::vector<std::uint8_t> buildLogicalPalette() const;

private:
    std::vector<VXRGBQuad> m_entries;
    std::vector<std::uint8_t> m_inverse_map;
    std::array<std::uint16_t, kMaxEntries> m_table15{};
    bool m_valid = false;
};

} // namespace morvessan
