// The row routine of the gradient noise in lanes: a portable baseline (SSE2 on
// x86-64) and, where the processor has them, AVX2 and AVX-512, chosen at run time.
#pragma once

#include <cstdint>

namespace morvessan {

// The tables one row needs: corner gradient indices (257 x 257, see Perlin),
// the two components of the 256 gradients, and the same as pairs (x, y).
struct NoiseRowTables {
    const std::uint8_t* corners;
    const double* gx;
    const double* gy;
    const double* gxy;
};

// Evaluates n <= 64 points, bit for bit as the point routine, and sets done[k];
// a point no lane can take (|x| or |y| not below 2^51, or not a number) gets
// done[k] = false and is left to the caller. Returns whether every point was done.
using NoiseRowRoutine = bool (*)(const NoiseRowTables& tables, const double* x, const double* y, int n, double* out,
                                 bool* done);

// The routine of the current path; null for Scalar.
NoiseRowRoutine noiseRowRoutine();

} // namespace morvessan
