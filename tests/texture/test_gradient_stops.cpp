// The gradient editor's stop list: adding into the widest gap, removing with
// its selection rule, reversing, moving past neighbours, and stops from a file.
#include "texture/GradientStops.h"

#include <gtest/gtest.h>

#include <vector>

using namespace morvessan;

namespace {

std::vector<int> positions(const GradientStops& s) {
    std::vector<int> p;
    for (int i = 0; i < s.count(); ++i) {
        p.push_back(s.position(i));
    }
    return p;
}

std::vector<std::uint32_t> colours(const GradientStops& s) {
    std::vector<std::uint32_t> c;
    for (int i = 0; i < s.count(); ++i) {
        c.push_back(s.colour(i));
    }
    return c;
}

GradientStops make(std::initializer_list<std::pair<std::uint32_t, int>> list) {
    TextureFields f;
    int i = 0;
    for (const auto& [c, p] : list) {
        f.colours[i] = c;
        f.positions[i] = p;
        ++i;
    }
    f.colourCount = i;
    return GradientStops::fromFields(f);
}

TEST(GradientStops, AddStopFillsTheWidestGap) {
    GradientStops s;
    s.selectStop(1);
    ASSERT_TRUE(s.addStop());
    EXPECT_EQ(positions(s), (std::vector<int>{0, 127, 255}));
    EXPECT_EQ(s.selected(), 1);
    EXPECT_EQ(s.colour(1), 0xFFFFFFFFu); // the selected stop's colour

    // Gap before the first stop, and after the last.
    GradientStops a = make({{1, 200}, {2, 230}});
    a.addStop();
    EXPECT_EQ(positions(a), (std::vector<int>{100, 200, 230}));
    EXPECT_EQ(a.selected(), 0);
    EXPECT_EQ(a.colour(0), 1u);
    GradientStops b = make({{1, 10}, {2, 20}});
    b.selectStop(1);
    b.addStop();
    EXPECT_EQ(positions(b), (std::vector<int>{10, 20, 137}));
    EXPECT_EQ(b.selected(), 2);
    EXPECT_EQ(b.colour(2), 2u);

    // Equal gaps: the first one wins.
    GradientStops c = make({{1, 0}, {2, 85}, {3, 170}, {4, 255}});
    c.addStop();
    EXPECT_EQ(positions(c), (std::vector<int>{0, 42, 85, 170, 255}));

    // Refused at eight stops.
    GradientStops d;
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(d.addStop());
    }
    EXPECT_EQ(d.count(), 8);
    const GradientStops before = d;
    EXPECT_FALSE(d.addStop());
    EXPECT_EQ(d, before);
}

TEST(GradientStops, RemoveStopSelectsANeighbour) {
    GradientStops s = make({{1, 0}, {2, 50}, {3, 100}, {4, 255}});
    s.selectStop(3); // the last: the new last is selected
    ASSERT_TRUE(s.removeStop());
    EXPECT_EQ(colours(s), (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(s.selected(), 2);
    s.selectStop(1); // a middle stop: the one before it
    ASSERT_TRUE(s.removeStop());
    EXPECT_EQ(colours(s), (std::vector<std::uint32_t>{1, 3}));
    EXPECT_EQ(s.selected(), 0);
    s.selectStop(0); // the first: stop 0 again
    ASSERT_TRUE(s.removeStop());
    EXPECT_EQ(colours(s), (std::vector<std::uint32_t>{3}));
    EXPECT_EQ(s.selected(), 0);
    EXPECT_FALSE(s.removeStop());
    EXPECT_EQ(s.count(), 1);
}

TEST(GradientStops, ReverseMirrorsAndTwiceRestores) {
    GradientStops s = make({{1, 0}, {2, 40}, {3, 127}, {4, 250}, {5, 255}});
    s.selectStop(1);
    const GradientStops original = s;
    s.reverseGradient();
    EXPECT_EQ(positions(s), (std::vector<int>{0, 5, 128, 215, 255}));
    EXPECT_EQ(colours(s), (std::vector<std::uint32_t>{5, 4, 3, 2, 1}));
    EXPECT_EQ(s.selected(), 3);
    s.reverseGradient();
    EXPECT_EQ(s, original);
}

TEST(GradientStops, MoveStopKeepsTheOrderAndTheSelection) {
    GradientStops s = make({{1, 0}, {2, 50}, {3, 100}, {4, 200}});
    s.selectStop(1);
    s.moveStop(150);
    EXPECT_EQ(positions(s), (std::vector<int>{0, 100, 150, 200}));
    EXPECT_EQ(colours(s), (std::vector<std::uint32_t>{1, 3, 2, 4}));
    EXPECT_EQ(s.selected(), 2);
    s.moveStop(-20);
    EXPECT_EQ(positions(s), (std::vector<int>{0, 0, 100, 200}));
    EXPECT_EQ(colours(s), (std::vector<std::uint32_t>{1, 2, 3, 4})); // an equal neighbour is not passed
    EXPECT_EQ(s.selected(), 1);
    s.moveStop(1000);
    EXPECT_EQ(positions(s), (std::vector<int>{0, 100, 200, 255}));
    EXPECT_EQ(s.colour(3), 2u);
    EXPECT_EQ(s.selected(), 3);
}

TEST(GradientStops, SelectStopRejectsIndicesOutsideTheList) {
    GradientStops s;
    EXPECT_TRUE(s.selectStop(1));
    EXPECT_FALSE(s.selectStop(2));
    EXPECT_FALSE(s.selectStop(-1));
    EXPECT_EQ(s.selected(), 1);
    s.setSelectedColour(0x80123456u);
    EXPECT_EQ(s.colour(1), 0x80123456u);
}

TEST(GradientStops, StopsFromARecordAndBack) {
    TextureFields f;
    f.colourCount = 3;
    f.colours[0] = 10;
    f.positions[0] = 300;
    f.colours[1] = 11;
    f.positions[1] = -5;
    f.colours[2] = 12;
    f.positions[2] = 255;
    const GradientStops s = GradientStops::fromFields(f);
    EXPECT_EQ(positions(s), (std::vector<int>{0, 255, 255}));
    EXPECT_EQ(colours(s), (std::vector<std::uint32_t>{11, 10, 12}));

    TextureFields out;
    out.colours[5] = 0xABCDEFu;
    s.storeInFields(out);
    EXPECT_EQ(out.colourCount, 3);
    EXPECT_EQ(out.positions[1], 255);
    EXPECT_EQ(out.colours[0], 11u);
    EXPECT_EQ(out.colours[5], 0xABCDEFu); // beyond the count: untouched

    for (std::int32_t count : {0, -3, 9}) {
        TextureFields g;
        g.colourCount = count;
        const GradientStops t = GradientStops::fromFields(g);
        EXPECT_EQ(t.count(), count < 1 ? 1 : 8);
        EXPECT_EQ(t.selected(), 0);
    }
}

} // namespace
