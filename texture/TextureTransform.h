// The 3 x 3 projective matrix that places the texture plane over the filter
// rectangle; part of the stored parameter block, so its layout is fixed.
#pragma once

namespace morvessan {

// Row-major: m[0] m[1] m[2] / m[3] m[4] m[5] / m[6] m[7] m[8].
struct TextureTransform {
    double m[9] = {1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};

    double& at(int row, int column) { return m[row * 3 + column]; }
    double at(int row, int column) const { return m[row * 3 + column]; }
};

static_assert(sizeof(TextureTransform) == 72);

} // namespace morvessan
