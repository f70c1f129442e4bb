// PeriodicLattice: integer points of the plane modulo the sublattice that two
// integer vectors span, reduced to one representative each (a tile's wrap on the noise lattice).
#pragma once

#include <cstdint>

namespace morvessan {

class PeriodicLattice {
public:
    // No period: every point stands for itself.
    PeriodicLattice() = default;
    // The lattice of the columns (ax, ay) and (bx, by), which must be independent,
    // each entry at most kMaxEntry in size; check with spans() first.
    PeriodicLattice(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by);

    static constexpr std::int64_t kMaxEntry = 1024;
    static bool spans(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by);

    // The same lattice with every vector times 2^k (k <= 11).
    PeriodicLattice scaled(int k) const;

    // Replaces (x, y) by its representative in [0, width) x [0, height), the same
    // for every point that differs from it by a lattice vector. |x|, |y| < 2^40.
    void reduce(std::int64_t& x, std::int64_t& y) const;
    // The representatives of the cell's corners (x, y), (x + 1, y), (x, y + 1) and
    // (x + 1, y + 1), in that order, with one reduction instead of four.
    void reduceCorners(std::int64_t x, std::int64_t y, std::int64_t (&cx)[4], std::int64_t (&cy)[4]) const;

    bool periodic() const { return m_height > 0; }
    // The basis in echelon form: (width, 0) and (shift, height), 0 <= shift < width.
    std::int64_t width() const { return m_width; }
    std::int64_t shift() const { return m_shift; }
    std::int64_t height() const { return m_height; }

private:
    std::int64_t m_width = 0;
    std::int64_t m_shift = 0;
    std::int64_t m_height = 0;
    double m_inverse_width = 0.0; // 1 / width and 1 / height, for divisions by multiplication
    double m_inverse_height = 0.0;
};

} // namespace morvessan
