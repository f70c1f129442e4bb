// Powers and logarithms of two of our own: the same bits on every platform, so a
// zoom or scale step gives the same transformation under every build.
#pragma once

namespace morvessan {

// 2^x, correctly rounded but for rare hard cases (about 106 bits are computed
// before the one rounding); exact for integral x. +inf above 1024, 0 below -1075,
// NaN for NaN.
double portableExp2(double x);
// log2 x, rounded the same way; exact for powers of two. -inf for 0, NaN below 0
// and for NaN, +inf for +inf.
double portableLog2(double x);

} // namespace morvessan
