// Matrix arithmetic of the texture transformation and the editing operations
// about the preview centre.
#include "texture/TextureTransform.h"

#include "texture/PortableExp.h"
#include "texture/PortableTrig.h"

#include <cmath>

namespace morvessan {

namespace {

// The factors of 2^(-a/1200) and a/1200 radians, as every edit has always used them.
constexpr double kPerUnit = 0.0008333333333333334;

bool isFinite(const TextureTransform& m) {
    for (double v : m.m) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

// One axis of the view: where [lo, hi) lies along [start, end).
void viewAxis(int lo, int hi, int start, int end, double& v0, double& v1) {
    const double size = static_cast<double>(end) - static_cast<double>(start);
    if (!(size > 0.0)) {
        v0 = 0.0;
        v1 = 1.0;
        return;
    }
    v0 = (static_cast<double>(lo) - start) / size;
    v1 = (static_cast<double>(hi) - start) / size;
}

// M = M T(c) C T(-c): C about the pivot.
void composeAboutPivot(TextureTransform& m, const TransformView& view, const TextureTransform& c) {
    compose(m, translation(view.cx(), view.cy()));
    compose(m, c);
    compose(m, translation(-view.cx(), -view.cy()));
}

} // namespace

std::string transformationProblem(const TextureTransform& m) {
    if (!isFinite(m)) {
        return "it holds a number that is not finite";
    }
    const double det = m.at(0, 0) * (m.at(1, 1) * m.at(2, 2) - m.at(1, 2) * m.at(2, 1)) -
                       m.at(0, 1) * (m.at(1, 0) * m.at(2, 2) - m.at(1, 2) * m.at(2, 0)) +
                       m.at(0, 2) * (m.at(1, 0) * m.at(2, 1) - m.at(1, 1) * m.at(2, 0));
    if (!std::isfinite(det)) {
        return "its numbers are too large to be drawn";
    }
    if (det == 0.0) {
        return "it cannot be inverted: it squeezes the texture onto a line or a point";
    }
    return {};
}

TextureTransform identity() { return TextureTransform{}; }

TextureTransform translation(double tx, double ty) {
    TextureTransform t;
    t.at(0, 2) = tx;
    t.at(1, 2) = ty;
    return t;
}

TextureTransform scaling(double sx, double sy) {
    TextureTransform t;
    t.at(0, 0) = sx;
    t.at(1, 1) = sy;
    return t;
}

TextureTransform rotation(double theta) {
    TextureTransform t;
    const double c = portableCos(theta);
    const double s = portableSin(theta);
    t.at(0, 0) = c;
    t.at(0, 1) = s;
    t.at(1, 0) = -s;
    t.at(1, 1) = c;
    return t;
}

void compose(TextureTransform& m, const TextureTransform& c) {
    TextureTransform r;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            r.at(row, col) = m.at(row, 0) * c.at(0, col) + m.at(row, 1) * c.at(1, col) + m.at(row, 2) * c.at(2, col);
        }
    }
    m = r;
}

void mapPoint(const TextureTransform& m, double x, double y, double& u, double& v) {
    const double w = 1.0 / (m.at(2, 0) * x + m.at(2, 1) * y + m.at(2, 2));
    u = (m.at(0, 0) * x + m.at(0, 1) * y + m.at(0, 2)) * w;
    v = (m.at(1, 0) * x + m.at(1, 1) * y + m.at(1, 2)) * w;
}

TransformView viewFromRectangles(const PixelRect& preview, const PixelRect& filter) {
    TransformView view;
    viewAxis(preview.left, preview.right, filter.left, filter.right, view.x0, view.x1);
    viewAxis(preview.top, preview.bottom, filter.top, filter.bottom, view.y0, view.y1);
    return view;
}

void moveTexture(TextureTransform& m, const TransformView& view, double dx, double dy, double pw, double ph) {
    const double tx = pw > 0.0 ? (view.x1 - view.x0) * dx / pw : 0.0;
    const double ty = ph > 0.0 ? (view.y1 - view.y0) * dy / ph : 0.0;
    // The sample point moves against the offset, so the pattern moves with it.
    compose(m, translation(-tx, -ty));
}

void scaleTexture(TextureTransform& m, const TransformView& view, double a, double b) {
    composeAboutPivot(m, view, scaling(portableExp2(a * -kPerUnit), portableExp2(b * -kPerUnit)));
}

void rotateTexture(TextureTransform& m, const TransformView& view, double a) {
    composeAboutPivot(m, view, rotation(a * kPerUnit));
}

void resetTexture(TextureTransform& m, const TransformView& view) {
    const double det = m.at(0, 0) * m.at(1, 1) - m.at(0, 1) * m.at(1, 0);
    TextureTransform inverse;
    inverse.at(0, 0) = m.at(1, 1) / det;
    inverse.at(0, 1) = -m.at(0, 1) / det;
    inverse.at(1, 0) = -m.at(1, 0) / det;
    inverse.at(1, 1) = m.at(0, 0) / det;
    if (det != 0.0 && isFinite(inverse)) {
        composeAboutPivot(m, view, inverse);
        return;
    }
    // No inverse: keep only where the pivot lands.
    double u;
    double v;
    mapPoint(m, view.cx(), view.cy(), u, v);
    if (std::isfinite(u) && std::isfinite(v)) {
        m = translation(u - view.cx(), v - view.cy());
    } else {
        m = identity();
    }
}

} // namespace morvessan
