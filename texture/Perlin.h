// Perlin: classic gradient noise over 256-entry lattice tables drawn from the
// run-time's random sequence, so that one seed always gives the same noise.
#pragma once

#include "texture/Noise.h"
#include "texture/NoiseRows.h"

#include <array>

namespace morvessan {

class Perlin : public Noise {
public:
    static constexpr int kSize = 256;
    static constexpr int kTableSize = kSize + kSize + 2; // 514: indices below 256 plus one never wrap

    Perlin(std::int32_t seed, double a, double b, double c);

    // Non-finite coordinates have no lattice cell: their noise is 0.
    double noise1(double x) const override;
    double noise2(double x, double y) const override;
    double noise3(double x, double y, double z) const override;
    void initTables() override;
    void noise2Row(const double* x, const double* y, int n, double* out) const override;

    // The tables, for inspection.
    const std::array<std::int32_t, kTableSize>& perm() const { return m_perm; }
    const std::array<double, kTableSize>& g1() const { return m_g1; }
    const std::array<std::array<double, 2>, kTableSize>& g2() const { return m_g2; }
    const std::array<std::array<double, 3>, kTableSize>& g3() const { return m_g3; }

    // perm[perm[i mod 256] + (j mod 256)] for i, j in 0..256: the gradient of a lattice
    // corner in one lookup, the next corner along either axis one step away.
    static constexpr int kCornerStride = kSize + 1;
    const std::array<std::uint8_t, kCornerStride * kCornerStride>& corners() const { return m_corners; }

    // The tables the row routines read.
    NoiseRowTables rowTables() const { return {m_corners.data(), m_g2x.data(), m_g2y.data(), m_g2xy.data()}; }

private:
    // noise2 through the corner table, for coordinates below 2^52 in size.
    double noise2Cell(double x, double y) const;

    std::array<std::int32_t, kTableSize> m_perm{};
    std::array<double, kTableSize> m_g1{};
    std::array<std::array<double, 2>, kTableSize> m_g2{};
    std::array<std::array<double, 3>, kTableSize> m_g3{};
    std::array<std::uint8_t, kCornerStride * kCornerStride> m_corners{};
    std::array<double, kSize> m_g2x{}; // m_g2 split by component
    std::array<double, kSize> m_g2y{};
    alignas(16) std::array<double, 2 * kSize> m_g2xy{}; // and as pairs, one load a corner
};

} // namespace morvessan
