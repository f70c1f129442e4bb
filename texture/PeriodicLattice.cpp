// The echelon basis of a plane lattice by the extended Euclidean algorithm, and
// reduction onto it in unsigned products that cannot overflow within the limits.
#include "texture/PeriodicLattice.h"

#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace morvessan {

namespace {

// a mod n in [0, n) for n > 0.
std::int64_t modulo(std::int64_t a, std::int64_t n) {
    const std::int64_t m = a % n;
    return m < 0 ? m + n : m;
}

// floor(a / n) for n > 0 and |a / n| < 2^50, from the product with 1 / n: the
// estimate is off by at most one, and the remainder's range corrects it exactly.
std::int64_t quickFloorDivide(std::int64_t a, std::int64_t n, double inverse) {
    auto q = static_cast<std::int64_t>(std::floor(static_cast<double>(a) * inverse));
    std::int64_t r = a - q * n;
    while (r < 0) {
        --q;
        r += n;
    }
    while (r >= n) {
        ++q;
        r -= n;
    }
    return q;
}

// g = gcd(a, b) >= 0 with u * a + v * b = g.
std::int64_t extendedGcd(std::int64_t a, std::int64_t b, std::int64_t& u, std::int64_t& v) {
    std::int64_t r0 = a, r1 = b, u0 = 1, u1 = 0, v0 = 0, v1 = 1;
    while (r1 != 0) {
        const std::int64_t q = r0 / r1;
        const std::int64_t r = r0 - q * r1;
        r0 = r1;
        r1 = r;
        const std::int64_t un = u0 - q * u1;
        u0 = u1;
        u1 = un;
        const std::int64_t vn = v0 - q * v1;
        v0 = v1;
        v1 = vn;
    }
    if (r0 < 0) {
        r0 = -r0;
        u0 = -u0;
        v0 = -v0;
    }
    u = u0;
    v = v0;
    return r0;
}

} // namespace

bool PeriodicLattice::spans(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) {
    for (const std::int64_t e : {ax, ay, bx, by}) {
        if (std::llabs(e) > kMaxEntry) {
            return false;
        }
    }
    return ax * by - ay * bx != 0;
}

PeriodicLattice::PeriodicLattice(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) {
    if (!spans(ax, ay, bx, by)) {
        return;
    }
    // The vector with the smallest positive height the lattice has, then the
    // lattice's width along the x axis: |det| over that height.
    std::int64_t u;
    std::int64_t v;
    m_height = extendedGcd(ay, by, u, v);
    const std::int64_t det = ax * by - ay * bx;
    m_width = (det < 0 ? -det : det) / m_height;
    m_shift = modulo(u * ax + v * bx, m_width);
    m_inverse_width = 1.0 / static_cast<double>(m_width);
    m_inverse_height = 1.0 / static_cast<double>(m_height);
}

PeriodicLattice PeriodicLattice::scaled(int k) const {
    PeriodicLattice result = *this;
    result.m_width <<= k;
    result.m_shift <<= k;
    result.m_height <<= k;
    const double shrink = 1.0 / static_cast<double>(std::int64_t{1} << k); // exact: a power of two
    result.m_inverse_width = m_inverse_width * shrink;
    result.m_inverse_height = m_inverse_height * shrink;
    return result;
}

void PeriodicLattice::reduce(std::int64_t& x, std::int64_t& y) const {
    if (!periodic()) {
        return;
    }
    const std::int64_t steps = quickFloorDivide(y, m_height, m_inverse_height);
    y -= steps * m_height;
    // Near the origin, where the noise's corners are, steps x shift stays below
    // 2^52 and the rest is one more division by multiplication.
    constexpr std::int64_t kNear = std::int64_t{1} << 20;
    if (steps > -kNear && steps < kNear) {
        x -= steps * m_shift;
        x -= quickFloorDivide(x, m_width, m_inverse_width) * m_width;
        return;
    }
    // steps x shift modulo width, both factors below 2^32: the product fits unsigned.
    const auto product = static_cast<std::uint64_t>(modulo(steps, m_width)) * static_cast<std::uint64_t>(m_shift);
    const auto along = static_cast<std::int64_t>(product % static_cast<std::uint64_t>(m_width));
    x = modulo(modulo(x, m_width) - along, m_width);
}

void PeriodicLattice::reduceCorners(std::int64_t x, std::int64_t y, std::int64_t (&cx)[4],
                                    std::int64_t (&cy)[4]) const {
    if (!periodic()) {
        for (int c = 0; c < 4; ++c) {
            cx[c] = x + (c & 1);
            cy[c] = y + (c >> 1);
        }
        return;
    }
    reduce(x, y);
    // One step right wraps past the width; one step up wraps past the height,
    // where the echelon basis moves the point back by its shift.
    const auto right = [this](std::int64_t v) { return v + 1 == m_width ? 0 : v + 1; };
    std::int64_t upX = x;
    std::int64_t upY = y + 1;
    if (upY == m_height) {
        upY = 0;
        upX -= m_shift;
        if (upX < 0) {
            upX += m_width;
        }
    }
    cx[0] = x;
    cy[0] = y;
    cx[1] = right(x);
    cy[1] = y;
    cx[2] = upX;
    cy[2] = upY;
    cx[3] = right(upX);
    cy[3] = upY;
}

} // namespace morvessan
