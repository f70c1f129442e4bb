// The texture value of a run of pixels in lanes: projective mapping, octave
// sums, the type's formula and our sine and cosine, for each instruction set.
#pragma once

#include "texture/NoiseRows.h"

namespace morvessan {

enum class TextureFormula { Cloud, Fire, Marble, Wood };

// Everything a row of one texture needs.
struct TextureRowJob {
    NoiseRowTables tables;
    const double* m;       // the transformation, row by row
    const double* weights; // one per octave
    int octaves;
    double noiseParameter;
    TextureFormula formula;
};

// The texture at (x[k], y) for k < n <= 64, bit for bit as the point routines,
// and done[k]; a pixel whose coordinates no lane takes (huge, not a number) gets
// done[k] = false and is left to the caller (a sine whose argument needs more
// reduction than the lanes do is taken by the point routine here). Returns
// whether every pixel was done.
using TextureRowRoutine = bool (*)(const TextureRowJob& job, const double* x, double y, int n, double* out, bool* done);

// The routine of the current noise path (see lanePath()); null for Scalar.
TextureRowRoutine textureRowRoutine();

} // namespace morvessan
