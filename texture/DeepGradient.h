// The gradient evaluated between its table entries, in 16 bits a channel: the
// smooth colours of 16-bit pictures, where the 1000-entry table would band.
#pragma once

#include "texture/ColourTable.h"

#include <array>
#include <cstdint>
#include <vector>

namespace morvessan {

// Red, green, blue and opacity, 0..65535 each.
struct DeepColour {
    std::array<std::uint16_t, 3> channel;
    std::uint16_t alpha;
};

// The gradient as a function of the table position x (0..1000, the argument
// tableIndex truncates): the same segments as the colour table, with each
// stop's bytes widened by 257 and interpolated linearly at the exact x, then
// rounded to the nearest level. At whole x it is the table's entry before that
// entry's truncation, so a 16-bit colour reduced to 8 bits is within a level
// of the table's wherever a segment spans more table entries than its steps.
class DeepGradient {
public:
    explicit DeepGradient(const TextureFields& fields);

    DeepColour at(double x) const;

private:
    struct Segment {
        double start;
        double length; // table entries; 0 for none
        std::array<double, 4> from;
        std::array<double, 4> to;
    };
    std::vector<Segment> m_segments;
};

// Texture value v (-1..1) as a table position: (v + 1) x 499.95, limited to
// 0..1000; not a number gives 0.
double tablePosition(double v);
// Scaled by the source brightness (the sum of three colour bytes), as scaledLookupIndex.
double scaledTablePosition(double v, int sourceSum);

} // namespace morvessan
