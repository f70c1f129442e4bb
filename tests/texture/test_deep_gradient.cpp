// The 16-bit gradient: exact levels at the stops and between them, agreement
// with the 8-bit table, no banding along a ramp, and positions from values.
#include "tests/support/TestGradients.h"
#include "texture/DeepGradient.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

using namespace morvessan;
using morvessan::testing::stops;

namespace {

TEST(DeepGradient, DefaultRampHasExactLevelsAtItsEndsAndMiddle) {
    const DeepGradient g{TextureFields{}}; // transparent black at 0 to opaque white at 255
    const DeepColour start = g.at(0.0);
    EXPECT_EQ(start.channel[0], 0);
    EXPECT_EQ(start.alpha, 0);
    const DeepColour middle = g.at(500.0); // 32767.5 rounds up
    EXPECT_EQ(middle.channel[0], 32768);
    EXPECT_EQ(middle.channel[2], 32768);
    EXPECT_EQ(middle.alpha, 32768);
    EXPECT_EQ(g.at(1000.0).channel[1], 65535);
    EXPECT_EQ(g.at(250.5).channel[0], 16417); // 65535 x 0.2505 = 16416.5...
}

TEST(DeepGradient, FlatBeforeTheFirstAndAfterTheLastStopWithChannelsInHostOrder) {
    // Red-ish at 51 (entry 200), blue at 204 (entry 800); stops keep red in the low byte.
    const DeepGradient g{stops({{0xFF0000FFu, 51}, {0xFFFF0000u, 204}})};
    for (const double x : {0.0, 100.0, 200.0}) {
        const DeepColour c = g.at(x);
        EXPECT_EQ(c.channel[0], 65535) << x;
        EXPECT_EQ(c.channel[2], 0) << x;
        EXPECT_EQ(c.alpha, 65535) << x;
    }
    EXPECT_EQ(g.at(500.0).channel[0], 32768);
    EXPECT_EQ(g.at(500.0).channel[2], 32768);
    for (const double x : {800.0, 950.0, 1000.0}) {
        EXPECT_EQ(g.at(x).channel[0], 0) << x;
        EXPECT_EQ(g.at(x).channel[2], 65535) << x;
    }
}

TEST(DeepGradient, OneStopIsOneColourAndOpacityIsScaledAsTheTableScalesIt) {
    TextureFields one = stops({{0x80123456u, 90}});
    one.totalOpacity = 50.0;
    const DeepGradient g{one};
    for (const double x : {0.0, 333.3, 1000.0}) {
        const DeepColour c = g.at(x);
        EXPECT_EQ(c.channel[0], 0x56 * 257);
        EXPECT_EQ(c.channel[1], 0x34 * 257);
        EXPECT_EQ(c.channel[2], 0x12 * 257);
        EXPECT_EQ(c.alpha, 64 * 257); // 128 x 50 % truncated, as scaledOpacity
    }
}

TEST(DeepGradient, StopsAtOnePositionJumpAtTheTablesBound) {
    const DeepGradient g{stops({{0xFF000000u, 0}, {0xFF0000FFu, 128}, {0xFF00FF00u, 128}, {0xFFFFFFFFu, 255}})};
    const double bound = 128 * 1000 / 255; // entry 501
    EXPECT_EQ(g.at(bound - 0.001).channel[0], 65535) << "just below: the red stop, within a level";
    EXPECT_EQ(g.at(bound).channel[0], 0);
    EXPECT_EQ(g.at(bound).channel[1], 65535);
}

TEST(DeepGradient, ReducedTo8BitsItIsWithinALevelOfEveryTableEntry) {
    const TextureFields cases[] = {
        TextureFields{},
        stops({{0xFF102030u, 0}, {0xC0F0E0D0u, 100}, {0xFF00FF00u, 180}, {0x40FFFFFFu, 255}}),
        stops({{0xFFFFFFFFu, 20}, {0xFF000000u, 240}}),
    };
    for (const TextureFields& fields : cases) {
        const std::vector<ColourEntry> table = buildColourTable(fields, ColourOrder::Host);
        const DeepGradient g{fields};
        for (int k = 0; k < kColourTableSize; ++k) {
            const DeepColour c = g.at(k);
            for (int ch = 0; ch < 3; ++ch) {
                const int reduced = (c.channel[ch] + 128) / 257;
                EXPECT_LE(std::abs(reduced - table[k].channel[ch]), 1) << k << " channel " << ch;
            }
            EXPECT_LE(std::abs((c.alpha + 128) / 257 - table[k].alpha), 1) << k;
        }
    }
}

TEST(DeepGradient, ARampHasAsManyLevelsAsItsRangeAndNeverFalls) {
    const DeepGradient g{TextureFields{}};
    std::set<int> levels;
    int last = -1;
    for (int i = 0; i <= 200000; ++i) {
        const int level = g.at(i * 0.005).channel[0];
        EXPECT_GE(level, last);
        last = level;
        levels.insert(level);
    }
    EXPECT_EQ(levels.size(), 65536u); // the table gives 255 levels of this ramp
}

TEST(DeepGradient, ValuesBecomePositionsAsTheTableIndexIsTakenWithoutTruncation) {
    EXPECT_EQ(tablePosition(-1.0), 0.0);
    EXPECT_EQ(tablePosition(-2.0), 0.0);
    EXPECT_EQ(tablePosition(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(tablePosition(0.0), 499.95);
    EXPECT_EQ(tablePosition(1.0), 999.9);
    EXPECT_EQ(tablePosition(5.0), 1000.0);
    EXPECT_EQ(static_cast<int>(tablePosition(0.3)), lookupIndex(0.3));
    EXPECT_EQ(static_cast<int>(scaledTablePosition(0.3, 600)), scaledLookupIndex(0.3, 600));
    EXPECT_EQ(scaledTablePosition(0.5, 0), 0.0);
}

} // namespace
