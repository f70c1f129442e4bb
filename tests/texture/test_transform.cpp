// Texture transformation arithmetic and editing: composition order, the view
// pivot, moves that follow the pointer, zoom, rotation and reset about the pivot.
#include "texture/TextureBuilder.h"
#include "texture/TextureTransform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace morvessan;

namespace {

void expectBottomRowAffine(const TextureTransform& m) {
    EXPECT_EQ(m.at(2, 0), 0.0);
    EXPECT_EQ(m.at(2, 1), 0.0);
    EXPECT_EQ(m.at(2, 2), 1.0);
}

void expectMapsTo(const TextureTransform& m, double x, double y, double u, double v, double tolerance = 1e-12) {
    double mu;
    double mv;
    mapPoint(m, x, y, mu, mv);
    EXPECT_NEAR(mu, u, tolerance);
    EXPECT_NEAR(mv, v, tolerance);
}

const TransformView kWhole{};
const TransformView kQuarter{0.25, 0.75, 0.5, 1.0}; // pivot (0.5, 0.75)

TEST(Transform, ElementaryMatricesAndComposition) {
    EXPECT_EQ(identity().at(0, 0), 1.0);
    EXPECT_EQ(identity().at(0, 1), 0.0);
    const TextureTransform r = rotation(0.5);
    EXPECT_EQ(r.at(0, 1), std::sin(0.5));
    EXPECT_EQ(r.at(1, 0), -std::sin(0.5));
    EXPECT_EQ(r.at(1, 1), std::cos(0.5));

    // compose(M, C): C acts on the point first.
    TextureTransform m = translation(1.0, 2.0);
    compose(m, scaling(2.0, 3.0));
    expectMapsTo(m, 1.0, 1.0, 3.0, 5.0, 0.0);
    TextureTransform n = scaling(2.0, 3.0);
    compose(n, translation(1.0, 2.0));
    expectMapsTo(n, 1.0, 1.0, 4.0, 9.0, 0.0);

    // Projective mapping divides by the bottom row.
    TextureTransform p;
    p.at(2, 2) = 2.0;
    expectMapsTo(p, 3.0, 5.0, 1.5, 2.5, 0.0);
}

TEST(Transform, ViewAndPivotFromTheRectangles) {
    const TransformView v = viewFromRectangles({60, 30, 160, 80}, {10, 5, 210, 105});
    EXPECT_EQ(v.x0, 0.25);
    EXPECT_EQ(v.x1, 0.75);
    EXPECT_EQ(v.y0, 0.25);
    EXPECT_EQ(v.y1, 0.75);
    EXPECT_EQ(v.cx(), 0.5);
    EXPECT_EQ(v.cy(), 0.5);
    // An empty filter rectangle: the whole unit square, no division by zero.
    const TransformView e = viewFromRectangles({0, 0, 10, 10}, {5, 5, 5, 5});
    EXPECT_EQ(e.x0, 0.0);
    EXPECT_EQ(e.x1, 1.0);
    EXPECT_EQ(e.cy(), 0.5);
}

TEST(Transform, MoveFollowsTheOffset) {
    TextureTransform m;
    moveTexture(m, kQuarter, -10.0, 20.0, 200.0, 100.0);
    // The sample point moves against the offset: (0.5 x -10 / 200, 0.5 x 20 / 100), negated.
    EXPECT_EQ(m.at(0, 2), 0.025);
    EXPECT_EQ(m.at(1, 2), -0.1);
    expectBottomRowAffine(m);

    // The pattern moves with the offset: what was under p is now under p + d.
    TextureTransform a = rotation(0.3);
    compose(a, scaling(3.0, 2.0));
    const TextureTransform before = a;
    moveTexture(a, kWhole, 30.0, -15.0, 300.0, 150.0);
    double u0;
    double v0;
    mapPoint(before, 0.4, 0.6, u0, v0);
    expectMapsTo(a, 0.4 + 0.1, 0.6 - 0.1, u0, v0);

    // An image of no size does not move.
    TextureTransform z;
    moveTexture(z, kWhole, 5.0, 5.0, 0.0, -1.0);
    EXPECT_EQ(z.at(0, 2), 0.0);
    EXPECT_EQ(z.at(1, 2), 0.0);
}

TEST(Transform, ZoomAndRotationAboutThePivot) {
    TextureTransform m;
    scaleTexture(m, kQuarter, 1200.0, 1200.0);
    expectMapsTo(m, 0.5, 0.75, 0.5, 0.75);
    expectMapsTo(m, 0.7, 0.95, 0.6, 0.85); // sample spacing halved: the pattern is twice as large
    expectBottomRowAffine(m);
    scaleTexture(m, kQuarter, -1200.0, -1200.0);
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(m.m[i], identity().m[i], 1e-15);
    }

    TextureTransform h;
    scaleTexture(h, kWhole, -1200.0, 0.0);
    EXPECT_NEAR(h.at(0, 0), 2.0, 1e-15);
    EXPECT_EQ(h.at(1, 1), 1.0);

    TextureTransform r;
    rotateTexture(r, kQuarter, 1200.0);
    EXPECT_NEAR(r.at(0, 0), std::cos(1.0), 1e-15);
    EXPECT_NEAR(r.at(0, 1), std::sin(1.0), 1e-15);
    EXPECT_NEAR(r.at(1, 0), -std::sin(1.0), 1e-15);
    expectMapsTo(r, 0.5, 0.75, 0.5, 0.75);
    expectBottomRowAffine(r);

    // One wheel notch, with and without the fine step.
    TextureTransform w;
    scaleTexture(w, kWhole, 120.0, 120.0);
    EXPECT_EQ(w.at(0, 0), std::pow(2.0, 120.0 * -0.0008333333333333334));
    EXPECT_NEAR(w.at(0, 0), 0.9330329915, 1e-10);
    TextureTransform f;
    scaleTexture(f, kWhole, 12.0, 12.0);
    EXPECT_NEAR(f.at(1, 1), std::pow(2.0, -0.01), 1e-15);
}

TEST(Transform, ResetLeavesOnlyTheTranslationAndKeepsThePivotValue) {
    TextureTransform i;
    resetTexture(i, kQuarter);
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(i.m[k], identity().m[k]);
    }

    TextureFields fields;
    TextureTransform m;
    moveTexture(m, kQuarter, 37.0, -12.0, 200.0, 150.0);
    scaleTexture(m, kQuarter, 700.0, -300.0);
    rotateTexture(m, kQuarter, 900.0);
    moveTexture(m, kQuarter, -5.0, 80.0, 200.0, 150.0);
    scaleTexture(m, kQuarter, -2000.0, 150.0);
    expectBottomRowAffine(m);
    fields.transformation = m;
    const double valueBefore = makeTexture(fields)->evaluate(0.5, 0.75);

    resetTexture(m, kQuarter);
    EXPECT_NEAR(m.at(0, 0), 1.0, 1e-12);
    EXPECT_NEAR(m.at(0, 1), 0.0, 1e-12);
    EXPECT_NEAR(m.at(1, 0), 0.0, 1e-12);
    EXPECT_NEAR(m.at(1, 1), 1.0, 1e-12);
    expectBottomRowAffine(m);
    fields.transformation = m;
    EXPECT_NEAR(makeTexture(fields)->evaluate(0.5, 0.75), valueBefore, 1e-9);

    const TextureTransform once = m;
    resetTexture(m, kQuarter);
    for (int k = 0; k < 9; ++k) {
        EXPECT_NEAR(m.m[k], once.m[k], 1e-12);
    }
}

TEST(Transform, ResetOfAMatrixWithoutInverse) {
    // A flattened plane (from a hand-edited record) keeps where the pivot lands.
    TextureTransform flat = scaling(0.0, 3.0);
    flat.at(0, 2) = 2.0;
    resetTexture(flat, kQuarter);
    expectMapsTo(flat, 0.5, 0.75, 2.0, 2.25, 0.0);
    EXPECT_EQ(flat.at(0, 0), 1.0);
    EXPECT_EQ(flat.at(1, 1), 1.0);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf, 1e300}) {
        TextureTransform m;
        m.at(0, 0) = bad;
        m.at(1, 1) = bad;
        m.at(0, 2) = bad;
        resetTexture(m, kQuarter);
        for (double v : m.m) {
            EXPECT_TRUE(std::isfinite(v)) << bad;
        }
    }
}

} // namespace
