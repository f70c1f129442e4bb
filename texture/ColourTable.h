// The 1000-entry colour table a gradient is flattened into before rendering,
// and the entry a texture value selects.
#pragma once

#include "texture/TexturePreset.h"

#include <cstdint>
#include <vector>

namespace morvessan {

// Host order: red, green, blue (the host's pixels); display order: blue, green, red (screen images).
enum class ColourOrder { Host, Display };

// One table entry as it lies in memory: the three channels in the wanted order, then the opacity.
struct ColourEntry {
    std::uint8_t channel[3];
    std::uint8_t alpha;
};

static_assert(sizeof(ColourEntry) == 4);

inline constexpr int kColourTableSize = 1000;

// The stop opacity scaled by the total opacity (percent), truncated and limited to 0..255.
std::uint8_t scaledOpacity(std::uint32_t colour, double totalOpacity);

// Exactly 1000 entries for the gradient of `fields`. Stops as a file can bring
// them are made usable first: the count limited to 1..8, positions to 0..255,
// and the stops taken in a stable order of position.
std::vector<ColourEntry> buildColourTable(const TextureFields& fields, ColourOrder order);

// Texture values -1..1 spread over the table: (v + 1) x this.
inline constexpr double kColourIndexScale = 499.95;

// x truncated into the table, 0..999; a value that is not a number gives 0.
inline int tableIndex(double x) {
    if (!(x > 0.0)) {
        return 0;
    }
    if (x >= kColourTableSize - 1) {
        return kColourTableSize - 1;
    }
    return static_cast<int>(x);
}

// The entry for texture value v: trunc((v + 1) x 499.95), limited to 0..999;
// a value that is not a number takes entry 0. Inline: the renderer calls it per pixel.
inline int lookupIndex(double v) { return tableIndex((v + 1.0) * kColourIndexScale); }

// The entry for v scaled by the source brightness (the sum of its three colour
// bytes): trunc(sum / 768 x (v + 1) x 499.95), limited as above.
inline int scaledLookupIndex(double v, int sourceSum) {
    return tableIndex(static_cast<double>(sourceSum) / 768.0 * (v + 1.0) * kColourIndexScale);
}

} // namespace morvessan
