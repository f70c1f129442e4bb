// Lattice tables of the gradient noise and its evaluation in one, two and three
// dimensions; coordinates of any size are reduced onto the lattice without overflow.
#include "texture/Perlin.h"

#include "texture/MsRandom.h"
#include "texture/NoiseRows.h"

#include <cmath>
#include <utility>

namespace morvessan {

namespace {

// One draw as a gradient component: -1.0 .. 0.99609375 in steps of 1/256.
double gradientComponent() { return static_cast<double>(msRand() % 512 - 256) / 256.0; }

// The cell of one coordinate: corner indices and the offsets from both corners.
struct Lattice {
    int b0;
    int b1;
    double r0;
    double r1;
};

// Cell index of a floored coordinate, modulo 256 and never negative. Within the
// range of a 64-bit integer this is the two's-complement low byte; beyond it the
// remainder is taken in floating point, where it is exact, so no conversion overflows.
int cellIndex(double f) {
    constexpr double kLimit = 4611686018427387904.0; // 2^62
    if (f > -kLimit && f < kLimit) {
        return static_cast<int>(static_cast<std::int64_t>(f) & 255);
    }
    double m = std::fmod(f, 256.0);
    if (m < 0.0) {
        m += 256.0;
    }
    return static_cast<int>(m) & 255;
}

// False when the coordinate has no cell (infinite or not a number).
bool setUp(double t, Lattice& l) {
    if (!std::isfinite(t)) {
        return false;
    }
    const double f = std::floor(t);
    l.b0 = cellIndex(f);
    l.b1 = (l.b0 + 1) & 255;
    l.r0 = t - f;
    l.r1 = l.r0 - 1.0;
    return true;
}

// Table indices of the four corners of a cell in the plane: b00, b10, b01, b11.
struct Corners {
    int b00;
    int b10;
    int b01;
    int b11;
};

template <typename Permutation>
Corners cornerIndices(const Permutation& perm, const Lattice& lx, const Lattice& ly) {
    const int i = perm[lx.b0];
    const int j = perm[lx.b1];
    return {perm[i + ly.b0], perm[j + ly.b0], perm[i + ly.b1], perm[j + ly.b1]};
}

// floor(t) as an integer and t - floor(t), without a library call, for |t| < 2^52
// (where every double converts exactly); false beyond, and for non-finite t.
inline bool exactFloor(double t, std::int64_t& i, double& fraction) {
    if (!(std::fabs(t) < 4503599627370496.0)) {
        return false;
    }
    i = static_cast<std::int64_t>(t);
    double f = static_cast<double>(i);
    if (f > t) {
        f -= 1.0;
        --i;
    }
    // + 0.0 turns the -0.0 of t = -0.0 into the +0.0 that t - floor(t) gives there.
    fraction = (t - f) + 0.0;
    return true;
}

double fade(double t) { return t * t * (3.0 - 2.0 * t); }

double lerp(double w, double a, double b) { return a + w * (b - a); }

} // namespace

Perlin::Perlin(std::int32_t seed, double a, double b, double c) : Noise(seed, a, b, c) { this->seed(seed); }

void Perlin::initTables() {
    for (int i = 0; i < kSize; ++i) {
        m_perm[i] = i;
        m_g1[i] = gradientComponent();

        double x = gradientComponent();
        double y = gradientComponent();
        const double l2 = std::sqrt(x * x + y * y);
        if (l2 != 0.0) {
            const double s = 1.0 / l2;
            m_g2[i] = {x * s, y * s};
        } else {
            // A zero vector has no direction; a fixed unit vector keeps every noise value a number.
            m_g2[i] = {1.0, 0.0};
        }

        x = gradientComponent();
        y = gradientComponent();
        const double z = gradientComponent();
        const double l3 = std::sqrt(x * x + y * y + z * z);
        if (l3 != 0.0) {
            const double s = 1.0 / l3;
            m_g3[i] = {x * s, y * s, z * s};
        } else {
            m_g3[i] = {1.0, 0.0, 0.0};
        }
    }
    for (int k = kSize - 1; k > 0; --k) {
        const int j = msRand() % kSize;
        std::swap(m_perm[k], m_perm[j]);
    }
    for (int i = 0; i < kSize + 2; ++i) {
        m_perm[kSize + i] = m_perm[i];
        m_g1[kSize + i] = m_g1[i];
        m_g2[kSize + i] = m_g2[i];
        m_g3[kSize + i] = m_g3[i];
    }
    for (int i = 0; i < kCornerStride; ++i) {
        const int p = m_perm[i & 255];
        for (int j = 0; j < kCornerStride; ++j) {
            m_corners[i * kCornerStride + j] = static_cast<std::uint8_t>(m_perm[p + (j & 255)]);
        }
    }
    for (int i = 0; i < kSize; ++i) {
        m_g2x[i] = m_g2[i][0];
        m_g2y[i] = m_g2[i][1];
        m_g2xy[2 * i] = m_g2[i][0];
        m_g2xy[2 * i + 1] = m_g2[i][1];
    }
}

double Perlin::noise1(double x) const {
    Lattice lx;
    if (!setUp(x, lx)) {
        return 0.0;
    }
    const double u = lx.r0 * m_g1[lx.b0];
    const double v = lx.r1 * m_g1[lx.b1];
    return lerp(fade(lx.r0), u, v);
}

double Perlin::noise2(double x, double y) const {
    Lattice lx;
    Lattice ly;
    if (!setUp(x, lx) || !setUp(y, ly)) {
        return 0.0;
    }
    const Corners c = cornerIndices(m_perm, lx, ly);

    const double sx = fade(lx.r0);
    const double sy = fade(ly.r0);

    const double a =
        lerp(sx, lx.r0 * m_g2[c.b00][0] + ly.r0 * m_g2[c.b00][1], lx.r1 * m_g2[c.b10][0] + ly.r0 * m_g2[c.b10][1]);
    const double b =
        lerp(sx, lx.r0 * m_g2[c.b01][0] + ly.r1 * m_g2[c.b01][1], lx.r1 * m_g2[c.b11][0] + ly.r1 * m_g2[c.b11][1]);
    return lerp(sy, a, b);
}

double Perlin::noise2Cell(double tx, double ty) const {
    std::int64_t ix;
    std::int64_t iy;
    double rx0;
    double ry0;
    if (!exactFloor(tx, ix, rx0) || !exactFloor(ty, iy, ry0)) {
        return noise2(tx, ty); // huge or beyond any number
    }
    const double rx1 = rx0 - 1.0;
    const double ry1 = ry0 - 1.0;
    const std::uint8_t* c0 = m_corners.data() + static_cast<int>(ix & 255) * kCornerStride + (iy & 255);
    const std::uint8_t* c1 = c0 + kCornerStride;
    const int b00 = c0[0];
    const int b01 = c0[1];
    const int b10 = c1[0];
    const int b11 = c1[1];
    const double sx = fade(rx0);
    const double sy = fade(ry0);
    const double a = lerp(sx, rx0 * m_g2x[b00] + ry0 * m_g2y[b00], rx1 * m_g2x[b10] + ry0 * m_g2y[b10]);
    const double b = lerp(sx, rx0 * m_g2x[b01] + ry1 * m_g2y[b01], rx1 * m_g2x[b11] + ry1 * m_g2y[b11]);
    return lerp(sy, a, b);
}

void Perlin::noise2Row(const double* x, const double* y, int n, double* out) const {
    const NoiseRowRoutine lanes = noiseRowRoutine();
    if (!lanes) {
        for (int k = 0; k < n; ++k) {
            out[k] = noise2Cell(x[k], y[k]);
        }
        return;
    }
    const NoiseRowTables tables = rowTables();
    constexpr int kPart = 64;
    bool done[kPart];
    for (int start = 0; start < n; start += kPart) {
        const int count = n - start < kPart ? n - start : kPart;
        if (lanes(tables, x + start, y + start, count, out + start, done)) {
            continue;
        }
        for (int k = 0; k < count; ++k) {
            if (!done[k]) {
                out[start + k] = noise2Cell(x[start + k], y[start + k]);
            }
        }
    }
}

double Perlin::noise3(double x, double y, double z) const {
    Lattice lx;
    Lattice ly;
    Lattice lz;
    if (!setUp(x, lx) || !setUp(y, ly) || !setUp(z, lz)) {
        return 0.0;
    }
    const Corners c = cornerIndices(m_perm, lx, ly);

    const double sx = fade(lx.r0);
    const double sy = fade(ly.r0);
    const double sz = fade(lz.r0);

    const auto dot = [this](int k, double rx, double ry, double rz) {
        const auto& q = m_g3[k];
        return rx * q[0] + ry * q[1] + rz * q[2];
    };
    const auto layer = [&](int bz, double rz) {
        const double a = lerp(sx, dot(c.b00 + bz, lx.r0, ly.r0, rz), dot(c.b10 + bz, lx.r1, ly.r0, rz));
        const double b = lerp(sx, dot(c.b01 + bz, lx.r0, ly.r1, rz), dot(c.b11 + bz, lx.r1, ly.r1, rz));
        return lerp(sy, a, b);
    };
    return lerp(sz, layer(lz.b0, lz.r0), layer(lz.b1, lz.r1));
}

} // namespace morvessan
