// Texture3D: the abstract texture that turns a sample point of the unit square
// into one value, through its transformation and its own seeded noise generator.
#pragma once

#include "texture/Noise.h"
#include "texture/PatternField.h"
#include "texture/TexturePreset.h"
#include "texture/TextureRows.h"
#include "texture/TextureTransform.h"

#include <memory>

namespace morvessan {

class Perlin;

class Texture3D {
public:
    Texture3D() = default;
    virtual ~Texture3D() = default;

    Texture3D(const Texture3D&) = delete;
    Texture3D& operator=(const Texture3D&) = delete;

    // The texture value at (x, y); 0 where it cannot be computed (no generator
    // yet, a projective denominator of 0, coordinates beyond any number).
    double evaluate(double x, double y) const;

    // out[k] = evaluate(x[k], y) for k < n, bit for bit, a row at a time: the
    // octaves run over a run of pixels each, with the noise's row routine.
    void evaluateRow(const double* x, double y, int n, double* out) const;

    // Draws in a pattern space (a tile that wraps, a third noise dimension)
    // instead of the plane; the plain space draws the plane. Set after the seed
    // and the transformation; `space` must have no patternProblem().
    void setPatternSpace(const PatternSpace& space);

    virtual TextureFormula formula() const = 0;

    // Replaces the generator by a new Perlin with this seed (reseeds the run-time's sequence).
    void setSeed(std::int32_t seed);

    void setTransformation(const TextureTransform& t) { m_transformation = t; }
    const TextureTransform& transformation() const { return m_transformation; }

    // Octave count, limited to 0..12.
    void setOctaves(int n);
    int octaves() const { return m_octaves; }

    // Weight of octave i (0..11); other indices are ignored.
    void setWeight(int i, double w);
    double weight(int i) const;

    void setNoiseParameter(double p) { m_noise_parameter = p; }
    double noiseParameter() const { return m_noise_parameter; }

    const Noise* noise() const { return m_noise.get(); }

protected:
    // The value in the plane of the stored block, point by point and row by row.
    virtual double evaluatePlane(double x, double y) const = 0;
    virtual void evaluatePlaneRow(const double* x, double y, int n, double* out) const;

    // The value in the pattern space, point by point: the same formula over
    // the pattern field's noise and phase.
    // `cells`: each octave's last lattice cell, kept along a row.
    double evaluatePattern(double x, double y, PatternField::Cell (&cells)[kMaxOctaves]) const;

    // The sample point through the projective transformation; false, with u and
    // v untouched, while no seed has been set and the texture has no values.
    bool map(double x, double y, double& u, double& v) const;

    // Sum over the octaves of weight_i x n(2^i u, 2^i v), signed or (`absolute`) of absolute values.
    double octaveSum(double u, double v, bool absolute) const;

    static double finiteOrZero(double value);

    // Pixels per run of the row routines: their buffers stay on the stack.
    static constexpr int kRun = 64;

    // map() for x[k], y, k < n (n <= kRun); false when there is no generator.
    bool mapRun(const double* x, double y, int n, double* u, double* v) const;
    // octaveSum() of u[k], v[k], k < n <= kRun.
    void octaveSumRun(const double* u, const double* v, int n, bool absolute, double* sum) const;

    // A row in runs as the point routine computes it: the run mapped, `sum(u, v, n,
    // s)` for its octave sums, then `finish(u, v, s)` per pixel, non-finite made 0.
    template <typename Sum, typename Finish>
    void evaluateRuns(const double* x, double y, int n, double* out, Sum sum, Finish finish) const;

    // The whole row through the lanes of the current path, with `formula`, the
    // pixels they leave through evaluate(); false (nothing done) on the scalar path.
    bool evaluateRowInLanes(TextureFormula formula, const double* x, double y, int n, double* out) const;

    std::unique_ptr<Noise> m_noise;
    const Perlin* m_perlin = nullptr; // m_noise, whose tables the lanes read
    TextureTransform m_transformation;
    std::int32_t m_octaves = 0;
    double m_weights[kMaxOctaves] = {};
    double m_noise_parameter = 0.0;
    std::unique_ptr<PatternField> m_pattern; // null in the plane
};

} // namespace morvessan
