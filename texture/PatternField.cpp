// The tile's wrap is built on the noise itself: the integer matrix nearest the
// transformation places the lattice, so the tile's edges are lattice periods of
// every octave, and the formula's phase advances by whole turns across the tile.
#include "texture/PatternField.h"

#include "texture/Perlin.h"
#include "texture/TextureTypes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morvessan {

namespace {

constexpr double kEdgeOffset = 1.0 / 3.0;
constexpr double kCoordinateLimit = 1099511627776.0; // 2^40: lattice corners stay exact integers

struct Affine {
    double a[4]; // row-major 2 x 2
    double t[2];
};

bool affinePart(const TextureTransform& m, Affine& out) {
    for (const double e : m.m) {
        if (!std::isfinite(e)) {
            return false;
        }
    }
    if (m.m[6] != 0.0 || m.m[7] != 0.0 || m.m[8] == 0.0) {
        return false;
    }
    const double w = m.m[8];
    out = {{m.m[0] / w, m.m[1] / w, m.m[3] / w, m.m[4] / w}, {m.m[2] / w, m.m[5] / w}};
    return true;
}

// The integer matrix nearest the linear part whose columns are independent
// lattice vectors: a column that rounds to nothing keeps one cell along its larger entry.
void nearestLatticeMatrix(const double* a, std::int64_t* g) {
    for (int c = 0; c < 2; ++c) {
        const double x = a[c];
        const double y = a[2 + c];
        double gx = std::round(x);
        double gy = std::round(y);
        if (gx == 0.0 && gy == 0.0) {
            if (std::fabs(x) >= std::fabs(y)) {
                gx = x < 0.0 ? -1.0 : 1.0;
            } else {
                gy = y < 0.0 ? -1.0 : 1.0;
            }
        }
        const double limit = static_cast<double>(PeriodicLattice::kMaxEntry) + 1.0;
        g[c] = static_cast<std::int64_t>(std::fmax(-limit, std::fmin(limit, gx)));
        g[2 + c] = static_cast<std::int64_t>(std::fmax(-limit, std::fmin(limit, gy)));
    }
    if (g[0] * g[3] - g[1] * g[2] == 0) {
        // Columns along one line: keep their lengths along the axes instead.
        g[0] = std::max<std::int64_t>(1, std::llround(std::sqrt(a[0] * a[0] + a[2] * a[2])));
        g[3] = std::max<std::int64_t>(1, std::llround(std::sqrt(a[1] * a[1] + a[3] * a[3])));
        g[1] = 0;
        g[2] = 0;
    }
}

double formulaPeriod(TextureFormula formula) {
    // |sin| repeats after half a turn.
    return formula == TextureFormula::Wood ? std::numbers::pi : 2.0 * std::numbers::pi;
}

double wholePeriods(double advance, double period) { return period * std::round(advance / period); }

double phaseOf(TextureFormula formula, double u, double v) {
    if (formula != TextureFormula::Cloud) {
        return u;
    }
    const double du = u - kCloudCentre;
    const double dv = v - kCloudCentre;
    return std::sqrt(du * du + dv * dv);
}

// floor(t) and t - floor(t) for |t| < 2^40; false beyond and for non-finite t.
bool floorParts(double t, std::int64_t& i, double& fraction) {
    if (!(std::fabs(t) < kCoordinateLimit)) {
        return false;
    }
    const double f = std::floor(t);
    i = static_cast<std::int64_t>(f);
    fraction = t - f;
    return true;
}

double fade(double t) { return t * t * (3.0 - 2.0 * t); }

double lerp(double w, double a, double b) { return a + w * (b - a); }

std::int64_t wrapDepth(std::int64_t z, std::int64_t period) {
    if (period <= 0) {
        return z;
    }
    const std::int64_t m = z % period;
    return m < 0 ? m + period : m;
}

} // namespace

std::string patternProblem(const TextureTransform& m, const PatternSpace& space) {
    if (space.evolving && !(std::fabs(space.depth) <= kMaxPatternDepth)) {
        return "the noise's depth is beyond 2^40 lattice cells";
    }
    if (space.depthPeriod < 0 || space.depthPeriod > kMaxDepthPeriod) {
        return "the loop's depth period must be 0 to " + std::to_string(kMaxDepthPeriod) + " lattice cells";
    }
    if (!space.tileable) {
        return {};
    }
    Affine affine;
    if (!affinePart(m, affine)) {
        return "a tileable pattern needs a finite transformation without perspective (last row 0, 0 and a non-zero "
               "number)";
    }
    std::int64_t g[4];
    nearestLatticeMatrix(affine.a, g);
    if (!PeriodicLattice::spans(g[0], g[2], g[1], g[3])) {
        return "the pattern is too fine to tile: more than " + std::to_string(PeriodicLattice::kMaxEntry) +
               " lattice cells across the picture";
    }
    const double cx = affine.a[0] * 0.5 + affine.a[1] * 0.5 + affine.t[0];
    const double cy = affine.a[2] * 0.5 + affine.a[3] * 0.5 + affine.t[1];
    if (!(std::fabs(cx) < kCoordinateLimit && std::fabs(cy) < kCoordinateLimit)) {
        return "the pattern is moved too far to tile (beyond 2^40 lattice cells)";
    }
    return {};
}

std::string patternRefusal(const TextureTransform& m, const PatternSpace& space) {
    const std::string problem = patternProblem(m, space);
    return problem.empty() ? problem : "The pattern cannot be drawn: " + problem + ".";
}

PatternField::PatternField(const TextureTransform& m, const PatternSpace& space, TextureFormula formula)
    : m_transformation(m), m_space(space), m_formula(formula) {
    if (m_space.evolving) {
        for (int k = 0; k < kMaxOctaves; ++k) {
            DepthCell& cell = m_depth_cells[k];
            std::int64_t iz;
            const double frequency = static_cast<double>(std::int64_t{1} << k);
            cell.valid = floorParts(frequency * m_space.depth, iz, cell.fraction);
            if (cell.valid) {
                const std::int64_t period = static_cast<std::int64_t>(m_space.depthPeriod) << k;
                cell.z0 = static_cast<int>(wrapDepth(iz, period) & 255);
                cell.z1 = static_cast<int>(wrapDepth(iz + 1, period) & 255);
            }
        }
    }
    // A transformation edited into one that cannot tile draws without the wrap.
    Affine affine;
    if (!space.tileable || !patternProblem(m, space).empty() || !affinePart(m, affine)) {
        m_space.tileable = false;
        return;
    }
    std::int64_t g[4];
    nearestLatticeMatrix(affine.a, g);
    const PeriodicLattice lattice(g[0], g[2], g[1], g[3]);
    for (int k = 0; k < kMaxOctaves; ++k) {
        m_octave_lattices[k] = lattice.scaled(k);
    }
    for (int i = 0; i < 4; ++i) {
        m_noise_matrix[i] = static_cast<double>(g[i]);
    }
    const double uc = affine.a[0] * 0.5 + affine.a[1] * 0.5 + affine.t[0];
    const double vc = affine.a[2] * 0.5 + affine.a[3] * 0.5 + affine.t[1];
    // The noise repeats with the lattice, so the centre moves back into the first
    // cell of the wrap by a lattice vector, which keeps the corners small integers.
    std::int64_t fx = static_cast<std::int64_t>(std::floor(uc));
    std::int64_t fy = static_cast<std::int64_t>(std::floor(vc));
    std::int64_t rx = fx;
    std::int64_t ry = fy;
    lattice.reduce(rx, ry);
    // A third of a cell more: 2^k / 3 is never whole, so no octave has its lattice
    // lines along the tile's edges, where with the identity they would all lie at
    // once and line up the lattice's marks along every seam of a tiled wall.
    m_noise_centre[0] = uc - static_cast<double>(fx - rx) + kEdgeOffset;
    m_noise_centre[1] = vc - static_cast<double>(fy - ry) + kEdgeOffset;

    const double period = formulaPeriod(formula);
    m_phase_centre = phaseOf(formula, uc, vc);
    double gx = affine.a[0];
    double gy = affine.a[1];
    if (formula == TextureFormula::Cloud) {
        const double du = uc - kCloudCentre;
        const double dv = vc - kCloudCentre;
        const double r = m_phase_centre;
        gx = r > 0.0 ? (du * affine.a[0] + dv * affine.a[2]) / r : 0.0;
        gy = r > 0.0 ? (du * affine.a[1] + dv * affine.a[3]) / r : 0.0;
    }
    m_phase_x = wholePeriods(gx, period);
    m_phase_y = wholePeriods(gy, period);
}

void PatternField::locate(double x, double y, double& p, double& q, double& phase) const {
    if (!m_space.tileable) {
        // Without a tile the noise and the phase are the plane's: one mapping serves both.
        mapPoint(m_transformation, x, y, p, q);
        phase = phaseOf(m_formula, p, q);
        return;
    }
    const double dx = x - 0.5;
    const double dy = y - 0.5;
    p = m_noise_matrix[0] * dx + m_noise_matrix[1] * dy + m_noise_centre[0];
    q = m_noise_matrix[2] * dx + m_noise_matrix[3] * dy + m_noise_centre[1];
    phase = m_phase_centre + m_phase_x * dx + m_phase_y * dy;
}

double PatternField::noise(const Perlin& perlin, int k, double p, double q, Cell& cell) const {
    if (k < 0 || k >= kMaxOctaves) {
        return 0.0;
    }
    const double frequency = static_cast<double>(std::int64_t{1} << k);
    std::int64_t ix;
    std::int64_t iy;
    double rx0;
    double ry0;
    if (!floorParts(frequency * p, ix, rx0) || !floorParts(frequency * q, iy, ry0)) {
        return 0.0;
    }
    if (!cell.known || cell.ix != ix || cell.iy != iy) {
        // The gradient indices of the cell's corners, after the tile's wrap.
        const auto& perm = perlin.perm();
        std::int64_t cx[4];
        std::int64_t cy[4];
        m_octave_lattices[k].reduceCorners(ix, iy, cx, cy);
        for (int c = 0; c < 4; ++c) {
            cell.corners[c] = perm[perm[cx[c] & 255] + (cy[c] & 255)];
        }
        cell.ix = ix;
        cell.iy = iy;
        cell.known = true;
    }
    const int b00 = cell.corners[0];
    const int b10 = cell.corners[1];
    const int b01 = cell.corners[2];
    const int b11 = cell.corners[3];
    const double rx1 = rx0 - 1.0;
    const double ry1 = ry0 - 1.0;
    const double sx = fade(rx0);
    const double sy = fade(ry0);
    if (!m_space.evolving) {
        const auto& g = perlin.g2();
        const double a = lerp(sx, rx0 * g[b00][0] + ry0 * g[b00][1], rx1 * g[b10][0] + ry0 * g[b10][1]);
        const double b = lerp(sx, rx0 * g[b01][0] + ry1 * g[b01][1], rx1 * g[b11][0] + ry1 * g[b11][1]);
        return lerp(sy, a, b);
    }
    const DepthCell& depth = m_depth_cells[k];
    if (!depth.valid) {
        return 0.0;
    }
    const double rz0 = depth.fraction;
    const auto& g = perlin.g3();
    const auto dot = [&](int b, double x, double y, double z) { return x * g[b][0] + y * g[b][1] + z * g[b][2]; };
    const auto layer = [&](int bz, double rz) {
        const double a = lerp(sx, dot(b00 + bz, rx0, ry0, rz), dot(b10 + bz, rx1, ry0, rz));
        const double b = lerp(sx, dot(b01 + bz, rx0, ry1, rz), dot(b11 + bz, rx1, ry1, rz));
        return lerp(sy, a, b);
    };
    return lerp(fade(rz0), layer(depth.z0, rz0), layer(depth.z1, rz0 - 1.0));
}

} // namespace morvessan
