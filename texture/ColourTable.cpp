// Flattening a gradient of up to eight stops into 1000 colour entries by
// piecewise linear interpolation of every byte.
#include "texture/ColourTable.h"

#include "texture/GradientStops.h"

#include <algorithm>
#include <array>

namespace morvessan {

namespace {

struct PackedStop {
    int position;
    std::array<std::uint8_t, 4> bytes; // in table-entry order
};

PackedStop packStop(std::uint32_t colour, int position, double totalOpacity, ColourOrder order) {
    const auto red = static_cast<std::uint8_t>(colour & 0xFFu);
    const auto green = static_cast<std::uint8_t>((colour >> 8) & 0xFFu);
    const auto blue = static_cast<std::uint8_t>((colour >> 16) & 0xFFu);
    const std::uint8_t alpha = scaledOpacity(colour, totalOpacity);
    if (order == ColourOrder::Host) {
        return {position, {red, green, blue, alpha}};
    }
    return {position, {blue, green, red, alpha}};
}

// Entries k = 0 .. n-1 of the ramp from a towards b, byte by byte.
void fillSegment(std::vector<ColourEntry>& table, int start, int n, const PackedStop& a, const PackedStop& b) {
    for (int k = 0; k < n; ++k) {
        std::array<std::uint8_t, 4> e;
        for (int c = 0; c < 4; ++c) {
            e[c] = static_cast<std::uint8_t>(((n - k) * a.bytes[c] + k * b.bytes[c]) / n);
        }
        table[start + k] = {{e[0], e[1], e[2]}, e[3]};
    }
}

} // namespace

std::uint8_t scaledOpacity(std::uint32_t colour, double totalOpacity) {
    // Formed in extended precision, in this order, as the tables were always made.
    const long double a = static_cast<long double>(colour >> 24);
    const long double scaled = a * static_cast<long double>(totalOpacity) * static_cast<long double>(0.01);
    if (!(scaled > 0.0L)) {
        return 0;
    }
    if (scaled >= 255.0L) {
        return 255;
    }
    return static_cast<std::uint8_t>(scaled);
}

std::vector<ColourEntry> buildColourTable(const TextureFields& fields, ColourOrder order) {
    // The stops as the gradient editor makes them usable: count, positions and order.
    const GradientStops usable = GradientStops::fromFields(fields);
    const int count = usable.count();
    std::vector<PackedStop> stops;
    stops.reserve(count);
    for (int i = 0; i < count; ++i) {
        stops.push_back(packStop(usable.colour(i), usable.position(i), fields.totalOpacity, order));
    }

    std::vector<ColourEntry> table(kColourTableSize);
    if (count == 1) {
        fillSegment(table, 0, kColourTableSize, stops[0], stops[0]);
        return table;
    }
    int start = 0;
    for (int i = 0; i <= count; ++i) {
        int end = i == count ? kColourTableSize : stops[i].position * kColourTableSize / 255;
        end = std::clamp(end, start, kColourTableSize);
        const PackedStop& from = stops[i == 0 ? 0 : i - 1];
        const PackedStop& to = stops[i == count ? count - 1 : i];
        fillSegment(table, start, end - start, from, to);
        start = end;
    }
    return table;
}

} // namespace morvessan
