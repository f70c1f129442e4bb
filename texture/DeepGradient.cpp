// The 16-bit gradient: the colour table's segments kept as exact ramps and
// evaluated at a pixel's own position.
#include "texture/DeepGradient.h"

#include "texture/GradientStops.h"

#include <algorithm>
#include <cmath>

namespace morvessan {

namespace {

std::array<double, 4> wideStop(std::uint32_t colour, double totalOpacity) {
    // The same opacity the table takes, so both depths agree on what is opaque.
    return {static_cast<double>(colour & 0xFFu) * 257.0, static_cast<double>((colour >> 8) & 0xFFu) * 257.0,
            static_cast<double>((colour >> 16) & 0xFFu) * 257.0,
            static_cast<double>(scaledOpacity(colour, totalOpacity)) * 257.0};
}

std::uint16_t level(double value) {
    return static_cast<std::uint16_t>(std::clamp(std::floor(value + 0.5), 0.0, 65535.0));
}

} // namespace

DeepGradient::DeepGradient(const TextureFields& fields) {
    const GradientStops usable = GradientStops::fromFields(fields);
    const int count = usable.count();
    std::vector<std::array<double, 4>> stops;
    for (int i = 0; i < count; ++i) {
        stops.push_back(wideStop(usable.colour(i), fields.totalOpacity));
    }
    if (count == 1) {
        m_segments.push_back({0.0, static_cast<double>(kColourTableSize), stops[0], stops[0]});
        return;
    }
    // The table's segment bounds, truncated to whole entries as buildColourTable does.
    int start = 0;
    for (int i = 0; i <= count; ++i) {
        int end = i == count ? kColourTableSize : usable.position(i) * kColourTableSize / 255;
        end = std::clamp(end, start, kColourTableSize);
        if (end > start) {
            m_segments.push_back({static_cast<double>(start), static_cast<double>(end - start),
                                  stops[i == 0 ? 0 : i - 1], stops[i == count ? count - 1 : i]});
        }
        start = end;
    }
}

DeepColour DeepGradient::at(double x) const {
    // The last segment that starts at or before x; positions past the end stay on it.
    const Segment* segment = &m_segments.front();
    for (const Segment& s : m_segments) {
        if (s.start <= x) {
            segment = &s;
        }
    }
    const double t = std::clamp((x - segment->start) / segment->length, 0.0, 1.0);
    std::array<std::uint16_t, 4> c;
    for (int k = 0; k < 4; ++k) {
        c[k] = level(segment->from[k] + (segment->to[k] - segment->from[k]) * t);
    }
    return {{c[0], c[1], c[2]}, c[3]};
}

double tablePosition(double v) {
    const double x = (v + 1.0) * kColourIndexScale;
    return x > 0.0 ? std::min(x, static_cast<double>(kColourTableSize)) : 0.0;
}

double scaledTablePosition(double v, int sourceSum) {
    const double x = static_cast<double>(sourceSum) / 768.0 * (v + 1.0) * kColourIndexScale;
    return x > 0.0 ? std::min(x, static_cast<double>(kColourTableSize)) : 0.0;
}

} // namespace morvessan
