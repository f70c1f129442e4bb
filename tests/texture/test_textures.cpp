// The four texture types built from a texture record: worked values, the
// formulas with no octaves, the type and octave limits, and inputs beyond any number.
#include "texture/MsRandom.h"
#include "texture/Perlin.h"
#include "texture/PortableTrig.h"
#include "texture/TextureBuilder.h"
#include "texture/TextureTypes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace morvessan;

namespace {

constexpr double kTenDecimals = 5e-11;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TextureFields ofType(std::int32_t type) {
    TextureFields f;
    f.type = type;
    return f;
}

TEST(Textures, DefaultsAtTheCentreGiveTheWorkedValues) {
    EXPECT_NEAR(makeTexture(ofType(kCloud))->evaluate(0.5, 0.5), -0.4365290533, kTenDecimals);
    EXPECT_NEAR(makeTexture(ofType(kFire))->evaluate(0.5, 0.5), 0.9414118361, kTenDecimals);
    EXPECT_NEAR(makeTexture(ofType(kMarble))->evaluate(0.5, 0.5), 0.9702637972, kTenDecimals);
    EXPECT_NEAR(makeTexture(ofType(kWood))->evaluate(0.5, 0.5), 0.9546554745, kTenDecimals);
}

TEST(Textures, TypeSelectsTheClassAndAnythingElseIsCloud) {
    EXPECT_NE(dynamic_cast<Fire*>(makeTexture(ofType(kFire)).get()), nullptr);
    EXPECT_NE(dynamic_cast<Marble*>(makeTexture(ofType(kMarble)).get()), nullptr);
    EXPECT_NE(dynamic_cast<Wood*>(makeTexture(ofType(kWood)).get()), nullptr);
    for (std::int32_t t : {1, 0, 5, 7, -1, 2147483647}) {
        EXPECT_NE(dynamic_cast<Cloud*>(makeTexture(ofType(t)).get()), nullptr) << t;
    }
}

TEST(Textures, BuildingCopiesTheRecordAndReseedsTheSequence) {
    TextureFields f = ofType(kFire);
    f.noiseSeed = 321;
    f.noiseLevel = 5.9;
    f.noiseWeights[4] = 0.75;
    f.noiseWeights[5] = 0.125; // read (5 < 5.9) but beyond the five octaves used
    f.noiseParameter = 3.5;
    f.transformation.at(0, 2) = 4.0;
    const auto t = makeTexture(f);
    EXPECT_EQ(t->octaves(), 5);
    EXPECT_EQ(t->weight(4), 0.75);
    EXPECT_EQ(t->weight(5), 0.125);
    EXPECT_EQ(t->weight(6), 0.0);
    EXPECT_EQ(t->noiseParameter(), 3.5);
    EXPECT_EQ(t->transformation().at(0, 2), 4.0);
    const int next = msRand();
    msSrand(321);
    for (int i = 0; i < 256 * 6 + 255; ++i) {
        msRand();
    }
    EXPECT_EQ(msRand(), next);
}

TEST(Textures, ValuesFollowThePlainFormulas) {
    const Perlin p(1, 6.0, 2.0, 0.5);
    TextureFields f;
    f.transformation.at(0, 0) = 3.0;
    f.transformation.at(0, 1) = 0.5;
    f.transformation.at(1, 2) = -2.0;
    const double x = 0.3;
    const double y = 0.8;
    const double u = 3.0 * x + 0.5 * y;
    const double v = y - 2.0;
    double signedSum = 0.0;
    double absSum = 0.0;
    double freq = 1.0;
    for (int i = 0; i < 8; ++i) {
        const double n = f.noiseWeights[i] * p.noise2(freq * u, freq * v);
        signedSum += n;
        absSum += std::fabs(n);
        freq *= 2.0;
    }
    f.type = kCloud;
    EXPECT_EQ(makeTexture(f)->evaluate(x, y),
              portableCos(std::sqrt((u - 200) * (u - 200) + (v - 200) * (v - 200)) + 8.0 * signedSum));
    f.type = kFire;
    EXPECT_EQ(makeTexture(f)->evaluate(x, y), portableSin(u + 8.0 * absSum));
    f.type = kMarble;
    EXPECT_EQ(makeTexture(f)->evaluate(x, y), std::sqrt(std::fabs(portableSin(u + 8.0 * absSum))));
    f.type = kWood;
    EXPECT_EQ(makeTexture(f)->evaluate(x, y), std::fabs(portableSin(u + 10.0 * p.noise2(u, v))));
}

TEST(Textures, NoOctavesLeaveTheBareShapes) {
    TextureFields f;
    f.noiseLevel = 0.0;
    const double x = 0.7;
    const double y = 0.2;
    f.type = kCloud;
    EXPECT_EQ(makeTexture(f)->evaluate(x, y), std::cos(std::sqrt((x - 200) * (x - 200) + (y - 200) * (y - 200))));
    f.type = kFire;
    EXPECT_EQ(makeTexture(f)->evaluate(x, y), std::sin(x));
    f.type = kMarble;
    EXPECT_EQ(makeTexture(f)->evaluate(x, y), std::sqrt(std::fabs(std::sin(x))));
}

TEST(Textures, WoodIgnoresLevelAndWeights) {
    TextureFields a = ofType(kWood);
    TextureFields b = a;
    b.noiseLevel = 2.0;
    for (double& w : b.noiseWeights) {
        w = 0.3;
    }
    const auto ta = makeTexture(a);
    const auto tb = makeTexture(b);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(ta->evaluate(i * 0.13, i * 0.07), tb->evaluate(i * 0.13, i * 0.07));
    }
    b.noiseParameter = 20.0;
    EXPECT_NE(makeTexture(b)->evaluate(0.5, 0.5), ta->evaluate(0.5, 0.5));
}

TEST(Textures, OctaveCountsFromAnyStoredLevel) {
    EXPECT_EQ(octaveCount(8.0), 8);
    EXPECT_EQ(octaveCount(7.99), 7);
    EXPECT_EQ(octaveCount(0.5), 0);
    EXPECT_EQ(octaveCount(12.0), 12);
    EXPECT_EQ(octaveCount(13.0), 12);
    EXPECT_EQ(octaveCount(1e9), 12);
    EXPECT_EQ(octaveCount(kInf), 12);
    EXPECT_EQ(octaveCount(-5.0), 0);
    EXPECT_EQ(octaveCount(-kInf), 0);
    EXPECT_EQ(octaveCount(kNaN), 0);

    for (double level : {1e9, kInf, -5.0, kNaN, 12.5}) {
        TextureFields f;
        f.noiseLevel = level;
        const auto t = makeTexture(f);
        EXPECT_EQ(t->octaves(), octaveCount(level));
        EXPECT_TRUE(std::isfinite(t->evaluate(0.25, 0.75)));
    }
}

TEST(Textures, UncomputableValuesAreZero) {
    TextureFields f;
    // Bottom row 0, 0, 0: every point divides by zero.
    f.transformation.at(2, 2) = 0.0;
    for (std::int32_t type = kCloud; type <= kWood; ++type) {
        f.type = type;
        EXPECT_EQ(makeTexture(f)->evaluate(0.5, 0.5), 0.0) << type;
        EXPECT_EQ(makeTexture(f)->evaluate(0.0, 0.0), 0.0) << type;
    }
    // The denominator vanishes only on the line x = 1.
    f.transformation.at(2, 0) = -1.0;
    f.transformation.at(2, 2) = 1.0;
    f.type = kFire;
    EXPECT_EQ(makeTexture(f)->evaluate(1.0, 0.3), 0.0);
    EXPECT_NE(makeTexture(f)->evaluate(0.5, 0.3), 0.0);

    // Coordinates and matrices beyond any sensible size.
    const double extremes[] = {1e300, -1e300, kInf, -kInf, kNaN, 1e-300, 1.7e308};
    for (std::int32_t type = kCloud; type <= kWood; ++type) {
        TextureFields g = ofType(type);
        g.noiseLevel = 12.0;
        const auto t = makeTexture(g);
        for (double e : extremes) {
            EXPECT_TRUE(std::isfinite(t->evaluate(e, 0.5)));
            EXPECT_TRUE(std::isfinite(t->evaluate(0.5, e)));
            EXPECT_TRUE(std::isfinite(t->evaluate(e, e)));
        }
        for (double e : extremes) {
            g.transformation.at(0, 0) = e;
            g.transformation.at(1, 2) = e;
            EXPECT_TRUE(std::isfinite(makeTexture(g)->evaluate(0.5, 0.5)));
        }
    }
}

TEST(Textures, WithoutASeedThereIsNothingToEvaluate) {
    EXPECT_EQ(Cloud().evaluate(0.5, 0.5), 0.0);
    EXPECT_EQ(Wood().evaluate(0.5, 0.5), 0.0);
}

} // namespace
