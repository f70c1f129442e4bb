// The 3 x 3 projective matrix that places the texture plane over the filter
// rectangle (part of the stored parameter block, so its layout is fixed), and
// the operations that edit it about the centre of the visible preview area.
#pragma once

#include <string>

#include "texture/PixelRect.h"

namespace morvessan {

// Row-major: m[0] m[1] m[2] / m[3] m[4] m[5] / m[6] m[7] m[8].
struct TextureTransform {
    double m[9] = {1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};

    double& at(int row, int column) { return m[row * 3 + column]; }
    double at(int row, int column) const { return m[row * 3 + column]; }
};

static_assert(sizeof(TextureTransform) == 72);

TextureTransform identity();
TextureTransform translation(double tx, double ty);
TextureTransform scaling(double sx, double sy);
// Turns by theta radians: m00 = cos, m01 = sin, m10 = -sin, m11 = cos.
TextureTransform rotation(double theta);

// M = M x C: C acts on the sample point first.
void compose(TextureTransform& m, const TextureTransform& c);

// (x, y) through M as a projective map.
void mapPoint(const TextureTransform& m, double x, double y, double& u, double& v);

// Why `m` cannot place a texture, or empty when it can: a number that is not finite,
// or a matrix that cannot be inverted (it squeezes the plane onto a line or a
// point, and every pixel would be drawn from one value or from none).
std::string transformationProblem(const TextureTransform& m);

// The part of the filter rectangle shown in the preview, in unit-square
// coordinates of the filter rectangle, and its centre, the pivot of every edit.
struct TransformView {
    double x0 = 0.0;
    double x1 = 1.0;
    double y0 = 0.0;
    double y1 = 1.0;

    double cx() const { return (x0 + x1) / 2; }
    double cy() const { return (y0 + y1) / 2; }
};

// The view of `preview` (image coordinates) over `filter`. An axis along which
// the filter rectangle is empty counts as the whole unit interval.
TransformView viewFromRectangles(const PixelRect& preview, const PixelRect& filter);

// Moves the pattern by (dx, dy) preview pixels, in the direction of the offset,
// with pw x ph the size of the image inside the preview; an axis of no size does not move.
void moveTexture(TextureTransform& m, const TransformView& view, double dx, double dy, double pw, double ph);

// Scales about the pivot by 2^(-a/1200) horizontally and 2^(-b/1200) vertically:
// positive amounts make the pattern grow on screen.
void scaleTexture(TextureTransform& m, const TransformView& view, double a, double b);

// Turns about the pivot by a / 1200 radians.
void rotateTexture(TextureTransform& m, const TransformView& view, double a);

// Leaves no rotation, scaling or shear, and keeps the texture value at the pivot.
// A matrix whose 2 x 2 block cannot be inverted becomes the translation that keeps
// the pivot's point (the identity when that point is not a number).
void resetTexture(TextureTransform& m, const TransformView& view);

} // namespace morvessan
