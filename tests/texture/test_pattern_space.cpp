// Pattern spaces: the lattice that wraps with a tile, the bytes a host hands the
// plug-in, tiles that wrap for every type, and depth that loops.
#include "texture/PatternField.h"
#include "texture/PeriodicLattice.h"
#include "texture/TextureBuilder.h"
#include "texture/TextureTransform.h"
#include "texture/TextureTypes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace morvessan;

namespace {

TextureFields fieldsOf(std::int32_t type, const TextureTransform& m, int octaves = 12) {
    TextureFields f;
    f.type = type;
    f.noiseSeed = 99;
    f.noiseLevel = octaves;
    f.transformation = m;
    return f;
}

TextureTransform turnedAndMoved() {
    TextureTransform m = rotation(0.4);
    compose(m, scaling(3.3, 2.2));
    m.m[2] = 17.25;
    m.m[5] = -40.5;
    return m;
}

} // namespace

TEST(PeriodicLattice, PointsThatDifferByALatticeVectorShareOneRepresentative) {
    const PeriodicLattice lattice(3, 1, -2, 5); // det 17
    EXPECT_EQ(lattice.width() * lattice.height(), 17);
    for (int k = 0; k < 12; ++k) {
        const PeriodicLattice scaled = lattice.scaled(k);
        for (std::int64_t x = -40; x <= 40; x += 7) {
            for (std::int64_t y = -40; y <= 40; y += 5) {
                std::int64_t rx = x, ry = y;
                scaled.reduce(rx, ry);
                ASSERT_GE(rx, 0);
                ASSERT_LT(rx, scaled.width());
                ASSERT_GE(ry, 0);
                ASSERT_LT(ry, scaled.height());
                std::int64_t cx[4];
                std::int64_t cy[4];
                scaled.reduceCorners(x, y, cx, cy);
                for (int c = 0; c < 4; ++c) {
                    std::int64_t ex = x + (c & 1), ey = y + (c >> 1);
                    scaled.reduce(ex, ey);
                    ASSERT_EQ(cx[c], ex) << c;
                    ASSERT_EQ(cy[c], ey) << c;
                }
                for (const auto& [a, b] : {std::pair{1, 0}, std::pair{0, 1}, std::pair{-3, 2}}) {
                    std::int64_t sx = x + (static_cast<std::int64_t>(a) * 3 + b * -2) * (1ll << k);
                    std::int64_t sy = y + (static_cast<std::int64_t>(a) * 1 + b * 5) * (1ll << k);
                    scaled.reduce(sx, sy);
                    ASSERT_EQ(sx, rx);
                    ASSERT_EQ(sy, ry);
                }
            }
        }
    }
    // Far corners at the largest lattice and octave stay exact.
    const PeriodicLattice big = PeriodicLattice(1024, 1023, -1023, 1024).scaled(11);
    std::int64_t x = (1ll << 40) - 3, y = -(1ll << 40) + 5;
    big.reduce(x, y);
    EXPECT_LT(x, big.width());
    EXPECT_LT(y, big.height());
    EXPECT_FALSE(PeriodicLattice::spans(2, 4, 1, 2)); // one line
    EXPECT_FALSE(PeriodicLattice::spans(1025, 0, 0, 1));
    EXPECT_FALSE(PeriodicLattice().periodic());
}

TEST(PatternSpaceBytes, RoundTripAndRefuseWhatNoHostOfOursWrites) {
    PatternSpace space;
    space.tileable = true;
    space.evolving = true;
    space.depth = -12.375;
    space.depthPeriod = 9;
    std::vector<std::uint8_t> bytes = encodePatternSpace(space);
    ASSERT_EQ(bytes.size(), 24u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[4], 3);
    EXPECT_EQ(decodePatternSpace(bytes.data(), bytes.size()), space);

    const auto refused = [&](auto change) {
        std::vector<std::uint8_t> b = bytes;
        change(b);
        return !decodePatternSpace(b.data(), b.size());
    };
    EXPECT_TRUE(refused([](auto& b) { b.pop_back(); }));
    EXPECT_TRUE(refused([](auto& b) { b.push_back(0); }));
    EXPECT_TRUE(refused([](auto& b) { b[0] = 2; }));
    EXPECT_TRUE(refused([](auto& b) { b[4] = 7; }));
    EXPECT_TRUE(refused([](auto& b) { b[20] = 1; }));
    EXPECT_TRUE(refused([](auto& b) { b[15] = 0x7F, b[14] = 0xF8; })); // not a number
    EXPECT_TRUE(refused([](auto& b) { b[19] = 0x80; }));               // a negative period
    EXPECT_TRUE(refused([](auto& b) { b[4] = 1; }));                   // depth without evolving
    EXPECT_FALSE(decodePatternSpace(nullptr, 24));
}

TEST(TileablePatterns, EveryTypeWrapsAcrossTheTileWithTurnsMovesAndEveryOctave) {
    PatternSpace tile;
    tile.tileable = true;
    for (const std::int32_t type : {kCloud, kFire, kMarble, kWood}) {
        for (const TextureTransform& m : {identity(), turnedAndMoved(), scaling(0.2, 0.3)}) {
            const auto texture = makeTexture(fieldsOf(type, m), tile);
            ASSERT_TRUE(patternProblem(m, tile).empty());
            for (double y = -0.25; y < 1.0; y += 0.173) {
                for (double x = -0.3; x < 1.0; x += 0.119) {
                    const double v = texture->evaluate(x, y);
                    ASSERT_NEAR(texture->evaluate(x + 1.0, y), v, 1e-9) << type << " " << x << "," << y;
                    ASSERT_NEAR(texture->evaluate(x, y - 1.0), v, 1e-9) << type << " " << x << "," << y;
                }
            }
        }
    }
}

TEST(TileablePatterns, TheLatticeAndPhaseAreTheNearestThatWrap) {
    const TextureTransform m = turnedAndMoved();
    PatternSpace tile;
    tile.tileable = true;
    const PatternField field(m, tile, TextureFormula::Fire);
    // The integer matrix nearest the linear part.
    for (int i = 0; i < 4; ++i) {
        const double entry = m.m[i < 2 ? i : i + 1];
        EXPECT_EQ(field.noiseMatrix()[i], std::round(entry)) << i;
    }
    const double turn = 2.0 * std::acos(-1.0);
    EXPECT_EQ(field.phaseStepX(), turn * std::round(m.m[0] / turn));
    EXPECT_EQ(field.phaseStepY(), turn * std::round(m.m[1] / turn));
    // A pattern larger than the picture keeps one lattice cell across it.
    const PatternField large(scaling(0.2, 0.3), tile, TextureFormula::Cloud);
    EXPECT_EQ(large.noiseMatrix()[0], 1.0);
    EXPECT_EQ(large.noiseMatrix()[3], 1.0);
}

TEST(TileablePatterns, PatternsThatCannotTileAreNamed) {
    PatternSpace tile;
    tile.tileable = true;
    TextureTransform perspective;
    perspective.m[6] = 0.1;
    EXPECT_NE(patternProblem(perspective, tile).find("without perspective"), std::string::npos);
    EXPECT_NE(patternProblem(scaling(5000, 1), tile).find("too fine to tile"), std::string::npos);
    EXPECT_NE(patternProblem(translation(1e13, 0), tile).find("moved too far"), std::string::npos);
    TextureTransform broken;
    broken.m[0] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(patternProblem(broken, tile).empty());
    EXPECT_TRUE(patternProblem(perspective, PatternSpace{}).empty()); // the plane takes any matrix
}

TEST(EvolvingPatterns, TheDepthLoopsAfterItsPeriodAndThePlainSpaceIsThePlane) {
    const TextureFields fields = fieldsOf(kMarble, turnedAndMoved(), 7);
    PatternSpace first;
    first.evolving = true;
    first.depthPeriod = 3;
    first.depth = 0.75;
    PatternSpace later = first;
    later.depth = 3.75;
    PatternSpace other = first;
    other.depth = 1.5;
    const auto a = makeTexture(fields, first);
    const auto b = makeTexture(fields, later);
    const auto c = makeTexture(fields, other);
    const auto plane = makeTexture(fields);
    const auto plain = makeTexture(fields, PatternSpace{});
    int differing = 0;
    for (double x = 0.0; x < 1.0; x += 0.0625) {
        EXPECT_NEAR(a->evaluate(x, 0.3), b->evaluate(x, 0.3), 1e-12);
        differing += a->evaluate(x, 0.3) != c->evaluate(x, 0.3);
        EXPECT_EQ(plain->evaluate(x, 0.3), plane->evaluate(x, 0.3));
    }
    EXPECT_GT(differing, 10);
    // Rows agree with points in a pattern space too.
    double xs[5] = {0.0, 0.1, 0.5, 0.9, 1.7};
    double row[5];
    a->evaluateRow(xs, 0.4, 5, row);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(row[k], a->evaluate(xs[k], 0.4));
    }
}

// A row keeps each octave's last lattice cell: points that come back to a cell,
// leave it along one axis only, or jump across the wrap must still match alone.
TEST(TileablePatterns, ARowAgreesWithItsPointsWhereverItsPointsGo) {
    std::vector<double> xs;
    for (int i = 0; i < 400; ++i) {
        xs.push_back(std::fmod(i * 0.0137, 1.0)); // runs along cells, wrapping several times
    }
    for (const double x : {0.5, 0.5, 0.25, 0.5, 1.0, -0.2, 1.3, 0.999, 0.0}) {
        xs.push_back(x);
    }
    for (const bool evolving : {false, true}) {
        for (const std::int32_t type : {kCloud, kWood}) {
            PatternSpace space;
            space.tileable = true;
            space.evolving = evolving;
            space.depth = 2.25;
            space.depthPeriod = 4;
            const auto texture = makeTexture(fieldsOf(type, turnedAndMoved()), space);
            std::vector<double> row(xs.size());
            for (const double y : {0.0, 0.31, 0.3101}) {
                texture->evaluateRow(xs.data(), y, static_cast<int>(xs.size()), row.data());
                int differing = 0;
                for (std::size_t k = 0; k < xs.size(); ++k) {
                    differing += row[k] != texture->evaluate(xs[k], y) ? 1 : 0;
                }
                EXPECT_EQ(differing, 0) << "type " << type << (evolving ? " evolving" : "") << " y " << y;
            }
        }
    }
}
