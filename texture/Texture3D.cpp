// The parts every texture type shares: seeding, the projective mapping and the
// octave sums of the noise.
#include "texture/Texture3D.h"

#include "texture/Perlin.h"

#include <algorithm>
#include <cmath>

namespace morvessan {

void Texture3D::setSeed(std::int32_t seed) {
    auto fresh = std::make_unique<Perlin>(seed, 6.0, 2.0, 0.5);
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
    const double* m = m_transformation.m;
    const double w = 1.0 / (m[6] * x + m[7] * y + m[8]);
    u = (m[0] * x + m[1] * y + m[2]) * w;
    v = (m[3] * x + m[4] * y + m[5]) * w;
    return true;
}

double Texture3D::octaveSum(double u, double v) const {
    double sum = 0.0;
    double frequency = 1.0;
    for (int i = 0; i < m_octaves; ++i) {
        sum += m_weights[i] * m_noise->noise2(frequency * u, frequency * v);
        frequency *= 2.0;
    }
    return sum;
}

double Texture3D::turbulenceSum(double u, double v) const {
    double sum = 0.0;
    double frequency = 1.0;
    for (int i = 0; i < m_octaves; ++i) {
        sum += std::fabs(m_weights[i] * m_noise->noise2(frequency * u, frequency * v));
        frequency *= 2.0;
    }
    return sum;
}

double Texture3D::finiteOrZero(double value) { return std::isfinite(value) ? value : 0.0; }

} // namespace morvessan
