// Sums and products of doubles kept exactly as a rounded value and its error, and
// double-double numbers built on them, with no fused multiply-add anywhere.
#pragma once

namespace morvessan::exact {

// a x b exactly as hi + lo, by splitting both into halves.
inline void twoProduct(double a, double b, double& hi, double& lo) {
    constexpr double split = 134217729.0; // 2^27 + 1
    const double ca = split * a;
    const double ah = ca - (ca - a);
    const double al = a - ah;
    const double cb = split * b;
    const double bh = cb - (cb - b);
    const double bl = b - bh;
    hi = a * b;
    lo = ((ah * bh - hi) + ah * bl + al * bh) + al * bl;
}

// a + b exactly as hi + lo.
inline void twoSum(double a, double b, double& hi, double& lo) {
    hi = a + b;
    const double bb = hi - a;
    lo = (a - (hi - bb)) + (b - bb);
}

// A number as the unevaluated sum hi + lo with |lo| at most half an ulp of hi:
// about 106 bits, enough to round a function's value once and correctly.
struct Double2 {
    double hi = 0.0;
    double lo = 0.0;
};

inline Double2 normalised(double hi, double lo) {
    Double2 r;
    twoSum(hi, lo, r.hi, r.lo);
    return r;
}

inline Double2 operator+(Double2 a, Double2 b) {
    double s;
    double e;
    twoSum(a.hi, b.hi, s, e);
    return normalised(s, e + (a.lo + b.lo));
}

inline Double2 operator*(Double2 a, Double2 b) {
    double p;
    double e;
    twoProduct(a.hi, b.hi, p, e);
    return normalised(p, e + (a.hi * b.lo + a.lo * b.hi));
}

inline Double2 operator*(Double2 a, double b) { return a * Double2{b, 0.0}; }

// a / b by long division: three quotient digits.
inline Double2 operator/(Double2 a, Double2 b) {
    const double q1 = a.hi / b.hi;
    Double2 r = a + (b * -q1);
    const double q2 = r.hi / b.hi;
    r = r + (b * -q2);
    const double q3 = r.hi / b.hi;
    return Double2{q1, 0.0} + normalised(q2, q3);
}

inline Double2 operator/(Double2 a, double b) { return a / Double2{b, 0.0}; }

} // namespace morvessan::exact
