// PatternField: where a texture samples its noise and its phase in a pattern
// space: a lattice that wraps with the tile, a third noise dimension, a phase that wraps too.
#pragma once

#include "texture/PatternSpace.h"
#include "texture/PeriodicLattice.h"
#include "texture/TexturePreset.h"
#include "texture/TextureRows.h"
#include "texture/TextureTransform.h"

#include <string>

namespace morvessan {

class Perlin;

// Why `space` cannot be drawn with this transformation (empty when it can).
std::string patternProblem(const TextureTransform& m, const PatternSpace& space);
// The same as the sentence every caller reports ("The pattern cannot be drawn: ...").
std::string patternRefusal(const TextureTransform& m, const PatternSpace& space);

class PatternField {
public:
    // `space` must have no problem with `m`.
    PatternField(const TextureTransform& m, const PatternSpace& space, TextureFormula formula);

    // Where the sample point (x, y) lies: the noise's first-octave coordinates
    // (p, q) and the formula's phase (Cloud's distance from its centre, the
    // others' u), from one mapping of the point.
    void locate(double x, double y, double& p, double& q, double& phase) const;
    // The last lattice cell an octave's noise was taken in, with its corners'
    // gradient indices after the wrap: neighbouring points of a row mostly share one.
    struct Cell {
        std::int64_t ix = 0;
        std::int64_t iy = 0;
        int corners[4] = {};
        bool known = false;
    };
    // The gradient noise of octave k (frequency 2^k, k < kMaxOctaves) at (p, q) and
    // the space's depth; `cell` is octave k's last cell for the same `perlin`.
    double noise(const Perlin& perlin, int k, double p, double q, Cell& cell) const;

    // The lattice of the tile's wrap at the first octave (no period when the
    // pattern does not tile), and the integer matrix that places the noise.
    const PeriodicLattice& lattice() const { return m_octave_lattices[0]; }
    const double* noiseMatrix() const { return m_noise_matrix; }
    // The phase's advance across the tile, a whole number of the formula's periods.
    double phaseStepX() const { return m_phase_x; }
    double phaseStepY() const { return m_phase_y; }

private:
    TextureTransform m_transformation;
    PatternSpace m_space;
    TextureFormula m_formula;
    // The lattice of the tile's wrap at each octave's frequency, worked out once.
    PeriodicLattice m_octave_lattices[kMaxOctaves];
    // Tileable: noise point = N (x - 1/2, y - 1/2) + (cx, cy), phase = c + sx (x - 1/2) + sy (y - 1/2).
    double m_noise_matrix[4] = {};
    double m_noise_centre[2] = {};
    double m_phase_centre = 0.0;
    double m_phase_x = 0.0;
    double m_phase_y = 0.0;
    // Evolving: each octave's depth cell (its two layers after the loop's wrap) and
    // the fraction within it, the same at every point.
    struct DepthCell {
        bool valid = false;
        int z0 = 0;
        int z1 = 0;
        double fraction = 0.0;
    };
    DepthCell m_depth_cells[kMaxOctaves];
};

} // namespace morvessan
