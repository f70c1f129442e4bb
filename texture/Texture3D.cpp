// The parts every texture type shares: seeding, the projective mapping and the
// octave sums of the noise.
#include "texture/Texture3D.h"

#include "texture/Perlin.h"
#include "texture/TextureTypes.h"

#include <algorithm>
#include <cmath>

namespace morvessan {

void Texture3D::setSeed(std::int32_t seed) {
    auto fresh = std::make_unique<Perlin>(seed, 6.0, 2.0, 0.5);
    m_perlin = fresh.get();
    m_noise = std::move(fresh);
}

void Texture3D::setOctaves(int n) { m_octaves = std::clamp(n, 0, kMaxOctaves); }

void Texture3D::setWeight(int i, double w) {
    if (i >= 0 && i < kMaxOctaves) {
        m_weights[i] = w;
    }
}

double Texture3D::weight(int i) const { return (i >= 0 && i < kMaxOctaves) ? m_weights[i] : 0.0; }

bool Texture3D::map(double x, double y, double& u, double& v) const {
    if (!m_noise) {
        return false;
    }
    mapPoint(m_transformation, x, y, u, v);
    return true;
}

double Texture3D::octaveSum(double u, double v, bool absolute) const {
    double sum = 0.0;
    double frequency = 1.0;
    for (int i = 0; i < m_octaves; ++i) {
        const double term = m_weights[i] * m_noise->noise2(frequency * u, frequency * v);
        sum += absolute ? std::fabs(term) : term;
        frequency *= 2.0;
    }
    return sum;
}

double Texture3D::evaluate(double x, double y) const {
    if (!m_pattern) {
        return evaluatePlane(x, y);
    }
    PatternField::Cell cells[kMaxOctaves];
    return evaluatePattern(x, y, cells);
}

void Texture3D::evaluateRow(const double* x, double y, int n, double* out) const {
    if (!m_pattern) {
        evaluatePlaneRow(x, y, n, out);
        return;
    }
    PatternField::Cell cells[kMaxOctaves];
    for (int k = 0; k < n; ++k) {
        out[k] = evaluatePattern(x[k], y, cells);
    }
}

void Texture3D::evaluatePlaneRow(const double* x, double y, int n, double* out) const {
    for (int k = 0; k < n; ++k) {
        out[k] = evaluatePlane(x[k], y);
    }
}

void Texture3D::setPatternSpace(const PatternSpace& space) {
    m_pattern.reset();
    if (!space.plain()) {
        m_pattern = std::make_unique<PatternField>(m_transformation, space, formula());
    }
}

double Texture3D::evaluatePattern(double x, double y, PatternField::Cell (&cells)[kMaxOctaves]) const {
    if (!m_perlin) {
        return 0.0;
    }
    double p;
    double q;
    double phase;
    m_pattern->locate(x, y, p, q, phase);
    const TextureFormula type = formula();
    if (type == TextureFormula::Wood) {
        const double s = m_pattern->noise(*m_perlin, 0, p, q, cells[0]);
        return finiteOrZero(formulaValue(type, phase, m_noise_parameter, s));
    }
    const bool absolute = type != TextureFormula::Cloud;
    double sum = 0.0;
    for (int i = 0; i < m_octaves; ++i) {
        const double term = m_weights[i] * m_pattern->noise(*m_perlin, i, p, q, cells[i]);
        sum += absolute ? std::fabs(term) : term;
    }
    return finiteOrZero(formulaValue(type, phase, static_cast<double>(m_octaves), sum));
}

bool Texture3D::mapRun(const double* x, double y, int n, double* u, double* v) const {
    if (!m_noise) {
        return false;
    }
    for (int k = 0; k < n; ++k) {
        mapPoint(m_transformation, x[k], y, u[k], v[k]);
    }
    return true;
}

void Texture3D::octaveSumRun(const double* u, const double* v, int n, bool absolute, double* sum) const {
    double fu[kRun];
    double fv[kRun];
    double value[kRun];
    for (int k = 0; k < n; ++k) {
        sum[k] = 0.0;
    }
    double frequency = 1.0;
    for (int i = 0; i < m_octaves; ++i) {
        for (int k = 0; k < n; ++k) {
            fu[k] = frequency * u[k];
            fv[k] = frequency * v[k];
        }
        m_noise->noise2Row(fu, fv, n, value);
        const double w = m_weights[i];
        if (absolute) {
            for (int k = 0; k < n; ++k) {
                sum[k] += std::fabs(w * value[k]);
            }
        } else {
            for (int k = 0; k < n; ++k) {
                sum[k] += w * value[k];
            }
        }
        frequency *= 2.0;
    }
}

bool Texture3D::evaluateRowInLanes(TextureFormula formula, const double* x, double y, int n, double* out) const {
    const TextureRowRoutine lanes = textureRowRoutine();
    if (!lanes || !m_perlin) {
        return false;
    }
    const TextureRowJob job{
        m_perlin->rowTables(), m_transformation.m, m_weights, m_octaves, m_noise_parameter, formula};
    bool done[kRun];
    for (int start = 0; start < n; start += kRun) {
        const int count = std::min(kRun, n - start);
        if (lanes(job, x + start, y, count, out + start, done)) {
            continue;
        }
        for (int k = 0; k < count; ++k) {
            if (!done[k]) {
                out[start + k] = evaluatePlane(x[start + k], y);
            }
        }
    }
    return true;
}

double Texture3D::finiteOrZero(double value) { return std::isfinite(value) ? value : 0.0; }

} // namespace morvessan
