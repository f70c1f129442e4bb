// Sine and cosine of our own, the same bits on every platform, compiler and
// instruction set (the C libraries of the builds disagree for large arguments).
#pragma once

namespace morvessan {

// Within one unit in the last place for every finite x, with the argument
// reduced exactly however large x is; NaN for infinite or NaN x.
double portableSin(double x);
double portableCos(double x);

} // namespace morvessan
