// The formulas of the four texture types over the shared mapping and octave sums.
#include "texture/TextureTypes.h"

#include <cmath>

namespace morvessan {

double Cloud::evaluate(double x, double y) const {
    double u;
    double v;
    if (!map(x, y, u, v)) {
        return 0.0;
    }
    const double du = u - 200.0;
    const double dv = v - 200.0;
    const double r = std::sqrt(du * du + dv * dv);
    return finiteOrZero(std::cos(r + static_cast<double>(m_octaves) * octaveSum(u, v)));
}

double Fire::evaluate(double x, double y) const {
    double u;
    double v;
    if (!map(x, y, u, v)) {
        return 0.0;
    }
    return finiteOrZero(std::sin(u + static_cast<double>(m_octaves) * turbulenceSum(u, v)));
}

double Marble::evaluate(double x, double y) const {
    double u;
    double v;
    if (!map(x, y, u, v)) {
        return 0.0;
    }
    return finiteOrZero(std::sqrt(std::fabs(std::sin(u + static_cast<double>(m_octaves) * turbulenceSum(u, v)))));
}

double Wood::evaluate(double x, double y) const {
    double u;
    double v;
    if (!map(x, y, u, v)) {
        return 0.0;
    }
    return finiteOrZero(std::fabs(std::sin(u + m_noise_parameter * m_noise->noise2(u, v))));
}

} // namespace morvessan
