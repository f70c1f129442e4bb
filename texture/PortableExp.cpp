// 2^x as 2^n e^(f ln 2) and log2 x as e + 2 atanh((m - 1)/(m + 1)) / ln 2, each
// series summed in double-double so that one rounding at the end decides the bits.
#include "texture/PortableExp.h"

#include "texture/ExactArithmetic.h"

#include <cmath>
#include <limits>

namespace morvessan {

namespace {

using exact::Double2;

// ln 2 and 2 / ln 2 as double-doubles.
constexpr Double2 kLn2{0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};
constexpr Double2 kTwoLog2E{0x1.71547652b82fep+1, 0x1.777d0ffda0d24p-55};
// Terms below this share of the sum no longer change a double-double.
constexpr double kNegligible = 0x1p-110;

} // namespace

double portableExp2(double x) {
    if (std::isnan(x)) {
        return x;
    }
    if (x >= 1024.0) {
        return std::numeric_limits<double>::infinity();
    }
    if (x < -1075.0) {
        return 0.0;
    }
    // x = n + f with |f| <= 1/2 (x - n is exact at these sizes).
    const double n = std::floor(x + 0.5);
    const double f = x - n;
    const Double2 t = kLn2 * f;
    // e^t = sum of t^k / k!, |t| <= 0.35: about twenty terms.
    Double2 sum{1.0, 0.0};
    Double2 term{1.0, 0.0};
    for (int k = 1; k < 40; ++k) {
        term = term * t / static_cast<double>(k);
        sum = sum + term;
        if (std::fabs(term.hi) < kNegligible) {
            break;
        }
    }
    // Scaling by a power of two is exact (it rounds once for subnormal results).
    return std::ldexp(sum.hi + sum.lo, static_cast<int>(n));
}

double portableLog2(double x) {
    if (std::isnan(x) || x < 0.0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (x == 0.0) {
        return -std::numeric_limits<double>::infinity();
    }
    if (std::isinf(x)) {
        return x;
    }
    // x = m 2^e with m in [sqrt(1/2), sqrt(2)); frexp and doubling are exact.
    int e = 0;
    double m = std::frexp(x, &e);
    if (m < 0x1.6a09e667f3bcdp-1) {
        m *= 2.0;
        --e;
    }
    // s = (m - 1)/(m + 1), |s| <= 0.172; m - 1 is exact for m in [1/2, 2].
    Double2 denominator;
    exact::twoSum(m, 1.0, denominator.hi, denominator.lo);
    const Double2 s = Double2{m - 1.0, 0.0} / denominator;
    const Double2 s2 = s * s;
    // atanh s = s + s^3/3 + s^5/5 + ...
    Double2 sum = s;
    Double2 power = s;
    for (int k = 3; k < 80; k += 2) {
        power = power * s2;
        const Double2 term = power / static_cast<double>(k);
        sum = sum + term;
        if (std::fabs(term.hi) <= kNegligible * std::fabs(sum.hi)) {
            break;
        }
    }
    const Double2 result = Double2{static_cast<double>(e), 0.0} + sum * kTwoLog2E;
    return result.hi + result.lo;
}

} // namespace morvessan
