// Reduction by multiples of pi/2 (three-part constants for moderate arguments,
// 128 bits of 2/pi's expansion beyond), then polynomials on [-pi/4, pi/4].
#include "texture/PortableTrig.h"

#include "texture/ExactArithmetic.h"
#include "texture/TrigKernels.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace morvessan {

namespace {

std::uint64_t bitsOf(double x) {
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

using exact::twoProduct;
using trig::kernelCos;
using trig::kernelSin;

// The binary expansion of 2/pi after the point, 64 bits a word.
constexpr std::uint64_t kTwoOverPi[] = {
    0xA2F9836E4E441529ull, 0xFC2757D1F534DDC0ull, 0xDB6295993C439041ull, 0xFE5163ABDEBBC561ull, 0xB7246E3A424DD2E0ull,
    0x06492EEA09D1921Cull, 0xFE1DEB1CB129A73Eull, 0xE88235F52EBB4484ull, 0xE99C7026B45F7E41ull, 0x3991D639835339F4ull,
    0x9C845F8BBDF9283Bull, 0x1FF897FFDE05980Full, 0xEF2F118B5A0A6D1Full, 0x6D367ECF27CB09B7ull, 0x4F463F669E5FEA2Dull,
    0x7527BAC7EBE5F17Bull, 0x3D0739F78A5292EAull, 0x6BFB5FB11F8D5D08ull, 0x56033046FC7B6BABull, 0xF0CFBC209AF4361Dull};

#ifdef __SIZEOF_INT128__
using U128 = unsigned __int128;
#else
// 32-bit targets have no 128-bit integer: the few operations the reduction uses,
// exact, so every build reduces to the same bits.
class U128 {
public:
    U128(std::uint64_t low = 0) : m_hi(0), m_lo(low) {}
    // An integral double below 2^128, exactly.
    explicit U128(double value) {
        const std::uint64_t b = bitsOf(value);
        const int e = static_cast<int>((b >> 52) & 0x7FF);
        if (e == 0)
            return; // zero (no subnormal is integral and non-zero)
        const std::uint64_t bits = (b & 0xFFFFFFFFFFFFFull) | 0x10000000000000ull;
        const U128 mantissa(bits);
        *this = e - 1075 >= 0 ? mantissa << (e - 1075) : mantissa >> (1075 - e);
    }
    explicit operator std::uint64_t() const { return m_lo; }
    explicit operator int() const { return static_cast<int>(m_lo); }
    explicit operator bool() const { return m_hi != 0 || m_lo != 0; }
    // Rounded to nearest as the conversion of a native 128-bit integer: the top
    // 64 bits with a sticky bit for the rest round once, then scale exactly.
    explicit operator double() const {
        if (m_hi == 0)
            return static_cast<double>(m_lo);
        int top = 127;
        while (!((*this >> top).m_lo & 1))
            --top;
        const int shift = top - 63;
        const U128 kept = *this >> shift;
        const bool sticky = static_cast<bool>(*this - (kept << shift));
        return std::ldexp(static_cast<double>(kept.m_lo | (sticky ? 1u : 0u)), shift);
    }

    friend U128 operator+(U128 a, U128 b) {
        const std::uint64_t lo = a.m_lo + b.m_lo;
        return U128(a.m_hi + b.m_hi + (lo < a.m_lo ? 1 : 0), lo);
    }
    friend U128 operator-(U128 a, U128 b) { return U128(a.m_hi - b.m_hi - (a.m_lo < b.m_lo ? 1 : 0), a.m_lo - b.m_lo); }
    friend U128 operator*(U128 a, U128 b) {
        U128 product = multiply(a.m_lo, b.m_lo);
        product.m_hi += a.m_hi * b.m_lo + a.m_lo * b.m_hi;
        return product;
    }
    friend U128 operator&(U128 a, U128 b) { return U128(a.m_hi & b.m_hi, a.m_lo & b.m_lo); }
    U128& operator|=(U128 b) {
        m_hi |= b.m_hi;
        m_lo |= b.m_lo;
        return *this;
    }
    U128 operator~() const { return U128(~m_hi, ~m_lo); }
    U128 operator<<(int n) const {
        if (n == 0)
            return *this;
        if (n >= 64)
            return U128(m_lo << (n - 64), 0);
        return U128((m_hi << n) | (m_lo >> (64 - n)), m_lo << n);
    }
    U128 operator>>(int n) const {
        if (n == 0)
            return *this;
        if (n >= 64)
            return U128(0, m_hi >> (n - 64));
        return U128(m_hi >> n, (m_lo >> n) | (m_hi << (64 - n)));
    }
    friend bool operator>(U128 a, U128 b) { return a.m_hi != b.m_hi ? a.m_hi > b.m_hi : a.m_lo > b.m_lo; }

private:
    U128(std::uint64_t hi, std::uint64_t lo) : m_hi(hi), m_lo(lo) {}
    // a x b in full, from 32-bit halves.
    static U128 multiply(std::uint64_t a, std::uint64_t b) {
        const std::uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
        const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const std::uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
        return U128(p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & 0xFFFFFFFFu));
    }
    std::uint64_t m_hi = 0;
    std::uint64_t m_lo = 0;
};
#endif

// |x| >= 2^20 pi/2, finite: x = n pi/2 + y0 + y1 with |y0 + y1| <= pi/4.
int reduceLarge(double x, double& y0, double& y1) {
    const std::uint64_t b = bitsOf(x);
    const int e = static_cast<int>((b >> 52) & 0x7FF) - 1075; // x = m 2^e
    const std::uint64_t m = (b & 0xFFFFFFFFFFFFFull) | 0x10000000000000ull;
    // Bits of 2/pi above position e - 2 add multiples of 4 to x 2/pi: skip them.
    const int skip = e > 2 ? e - 2 : 0;
    const int word = skip / 64;
    const int shift = skip % 64;
    std::uint64_t w[3];
    for (int k = 0; k < 3; ++k) {
        w[k] = shift == 0 ? kTwoOverPi[word + k]
                          : (kTwoOverPi[word + k] << shift) | (kTwoOverPi[word + k + 1] >> (64 - shift));
    }
    // p = m x w, 256 bits in four words, most significant first.
    std::uint64_t p[4];
    const U128 t2 = static_cast<U128>(m) * w[2];
    const U128 t1 = static_cast<U128>(m) * w[1] + static_cast<std::uint64_t>(t2 >> 64);
    const U128 t0 = static_cast<U128>(m) * w[0] + static_cast<std::uint64_t>(t1 >> 64);
    p[3] = static_cast<std::uint64_t>(t2);
    p[2] = static_cast<std::uint64_t>(t1);
    p[1] = static_cast<std::uint64_t>(t0);
    p[0] = static_cast<std::uint64_t>(t0 >> 64);
    // x 2/pi = p 2^-fraction: two bits of quadrant above the point, 128 bits of fraction below.
    const int fraction = skip + 192 - e;
    const auto bitsFrom = [&](int low) { // the 128 bits of p from bit `low` up
        U128 value = 0;
        for (int k = 0; k < 4; ++k) {
            const int at = (3 - k) * 64 - low; // where word k's bit 0 lands
            if (at > -64 && at < 128) {
                const U128 word128 = p[k];
                value |= at >= 0 ? word128 << at : word128 >> -at;
            }
        }
        return value;
    };
    int n = static_cast<int>(bitsFrom(fraction) & 3);
    U128 f = bitsFrom(fraction - 128);
    bool negative = false;
    if (f >> 127) { // fraction of a half or more: the next quadrant, from below
        ++n;
        f = ~f + 1;
        negative = true;
    }
    const double hi = static_cast<double>(f);
    const U128 hiBits = static_cast<U128>(hi);
    const double lo = hiBits > f ? -static_cast<double>(hiBits - f) : static_cast<double>(f - hiBits);
    constexpr double scale = 0x1p-128;
    const double fh = hi * scale;
    const double fl = lo * scale;
    constexpr double pio2Hi = 0x1.921fb54442d18p+0;
    constexpr double pio2Lo = 0x1.1a62633145c07p-54;
    double ph;
    double pl;
    twoProduct(fh, pio2Hi, ph, pl);
    const double tail = pl + (fh * pio2Lo + fl * pio2Hi);
    y0 = ph + tail;
    y1 = tail - (y0 - ph);
    if (negative) {
        y0 = -y0;
        y1 = -y1;
    }
    if (x < 0.0) {
        y0 = -y0;
        y1 = -y1;
        n = -n;
    }
    return n & 3;
}

// x = n pi/2 + y0 + y1 for finite |x| > pi/4; returns n mod 4.
int reduce(double x, double& y0, double& y1) {
    const auto high = static_cast<std::uint32_t>(bitsOf(x) >> 32) & 0x7FFFFFFFu;
    if (high >= 0x413921FBu) {
        return reduceLarge(x, y0, y1);
    }
    using namespace trig;
    const double fn = (x * kInvPio2 + kToInteger) - kToInteger;
    const int n = static_cast<int>(fn);
    double r = x - fn * kPio2_1;
    double w = fn * kPio2_1t; // good to 85 bits
    const int exponent = static_cast<int>(high >> 20);
    const auto exponentOf = [](double v) { return static_cast<int>((bitsOf(v) >> 52) & 0x7FF); };
    y0 = r - w;
    if (exponent - exponentOf(y0) > 16) { // cancellation: 118 bits
        double t = r;
        w = fn * kPio2_2;
        r = t - w;
        w = fn * kPio2_2t - ((t - r) - w);
        y0 = r - w;
        if (exponent - exponentOf(y0) > 49) { // 151 bits, enough for every double
            t = r;
            w = fn * kPio2_3;
            r = t - w;
            w = fn * kPio2_3t - ((t - r) - w);
            y0 = r - w;
        }
    }
    y1 = (r - y0) - w;
    return n & 3;
}

} // namespace

double portableSin(double x) {
    const auto high = static_cast<std::uint32_t>(bitsOf(x) >> 32) & 0x7FFFFFFFu;
    if (high <= 0x3FE921FBu) {    // |x| <~ pi/4
        if (high < 0x3E400000u) { // |x| < 2^-27: sin x rounds to x
            return x;
        }
        return kernelSin(x, 0.0);
    }
    if (high >= 0x7FF00000u) {
        return x - x; // NaN for infinities and NaN
    }
    double y0;
    double y1;
    switch (reduce(x, y0, y1)) {
    case 0: return kernelSin(y0, y1);
    case 1: return kernelCos(y0, y1);
    case 2: return -kernelSin(y0, y1);
    default: return -kernelCos(y0, y1);
    }
}

double portableCos(double x) {
    const auto high = static_cast<std::uint32_t>(bitsOf(x) >> 32) & 0x7FFFFFFFu;
    if (high <= 0x3FE921FBu) {
        if (high < 0x3E46A09Eu) { // |x| < 2^-27 sqrt 2: cos x rounds to 1
            return 1.0;
        }
        return kernelCos(x, 0.0);
    }
    if (high >= 0x7FF00000u) {
        return x - x;
    }
    double y0;
    double y1;
    switch (reduce(x, y0, y1)) {
    case 0: return kernelCos(y0, y1);
    case 1: return -kernelSin(y0, y1);
    case 2: return -kernelCos(y0, y1);
    default: return kernelSin(y0, y1);
    }
}

} // namespace morvessan
