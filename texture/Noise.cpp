// Seeding of a noise generator from the run-time's random sequence.
#include "texture/Noise.h"

#include "texture/MsRandom.h"

#include <ctime>

namespace morvessan {

Noise::Noise(std::int32_t seed, double, double, double) : m_seed(seed) {}

void Noise::noise2Row(const double* x, const double* y, int n, double* out) const {
    for (int k = 0; k < n; ++k) {
        out[k] = noise2(x[k], y[k]);
    }
}

void Noise::seed(std::int32_t s) {
    m_seed = s;
    if (s != 0) {
        msSrand(static_cast<std::uint32_t>(s));
    } else {
        // Unsigned arithmetic: the sum wraps instead of overflowing.
        const auto now = static_cast<std::uint32_t>(std::time(nullptr));
        msSrand(now + static_cast<std::uint32_t>(msRand()));
    }
    initTables();
}

} // namespace morvessan
