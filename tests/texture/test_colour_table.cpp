// Colour tables: interpolation of the stops, both channel orders, opacity
// scaling, stops as a file can bring them, and the entry a value selects.
#include "tests/support/TestGradients.h"
#include "texture/ColourTable.h"

#include <gtest/gtest.h>

#include <limits>

using namespace morvessan;
using morvessan::testing::stops;

namespace {

struct Bytes {
    int c0, c1, c2, a;
    bool operator==(const Bytes&) const = default;
};

Bytes bytes(const ColourEntry& e) { return {e.channel[0], e.channel[1], e.channel[2], e.alpha}; }

std::ostream& operator<<(std::ostream& os, const Bytes& b) {
    return os << '(' << b.c0 << ',' << b.c1 << ',' << b.c2 << ',' << b.a << ')';
}

TEST(ColourTable, DefaultGradientRampsEveryByte) {
    const auto table = buildColourTable(TextureFields{}, ColourOrder::Host);
    ASSERT_EQ(table.size(), 1000u);
    for (int k = 0; k < 1000; ++k) {
        const int b = 255 * k / 1000;
        EXPECT_EQ(bytes(table[k]), (Bytes{b, b, b, b})) << k;
    }
    EXPECT_EQ(bytes(table[999]), (Bytes{254, 254, 254, 254}));
}

TEST(ColourTable, ChannelOrders) {
    // Red 0x11, green 0x22, blue 0x33, opaque; one stop fills the table.
    TextureFields f = stops({{0xFF332211u, 40}});
    const auto host = buildColourTable(f, ColourOrder::Host);
    const auto display = buildColourTable(f, ColourOrder::Display);
    ASSERT_EQ(host.size(), 1000u);
    ASSERT_EQ(display.size(), 1000u);
    for (int k : {0, 500, 999}) {
        EXPECT_EQ(bytes(host[k]), (Bytes{0x11, 0x22, 0x33, 0xFF}));
        EXPECT_EQ(bytes(display[k]), (Bytes{0x33, 0x22, 0x11, 0xFF}));
    }
    // In memory: three channels, then opacity.
    const auto* raw = reinterpret_cast<const std::uint8_t*>(display.data());
    EXPECT_EQ(raw[0], 0x33);
    EXPECT_EQ(raw[3], 0xFF);
    EXPECT_EQ(raw[4], 0x33);
}

TEST(ColourTable, TotalOpacityScalesEveryStop) {
    EXPECT_EQ(scaledOpacity(0xFF000000u, 100.0), 255);
    EXPECT_EQ(scaledOpacity(0xFF000000u, 50.0), 127);
    EXPECT_EQ(scaledOpacity(0x80000000u, 0.0), 0);
    EXPECT_EQ(scaledOpacity(0x01000000u, 99.0), 0);
    EXPECT_EQ(scaledOpacity(0xFF000000u, 1e9), 255);
    EXPECT_EQ(scaledOpacity(0xFF000000u, -5.0), 0);
    EXPECT_EQ(scaledOpacity(0xFF000000u, std::numeric_limits<double>::quiet_NaN()), 0);
    TextureFields f = stops({{0xFF0000FFu, 0}});
    f.totalOpacity = 50.0;
    EXPECT_EQ(buildColourTable(f, ColourOrder::Host)[123].alpha, 127);
}

TEST(ColourTable, SegmentsBetweenStops) {
    // Stops at 0, 0 and 255: two empty segments, then a ramp from the second stop to the third.
    TextureFields f = stops({{0xFF0000FFu, 0}, {0xFF000000u, 0}, {0xFFFFFFFFu, 255}});
    const auto t = buildColourTable(f, ColourOrder::Host);
    EXPECT_EQ(bytes(t[0]), (Bytes{0, 0, 0, 255}));
    EXPECT_EQ(bytes(t[500]), (Bytes{127, 127, 127, 255}));
    EXPECT_EQ(bytes(t[999]), (Bytes{254, 254, 254, 255}));

    // A middle stop at 51: its segment ends at entry 200, where the stop itself begins.
    TextureFields g = stops({{0x00000000u, 0}, {0xFF0000FFu, 51}, {0xFF00FF00u, 255}});
    const auto u = buildColourTable(g, ColourOrder::Host);
    EXPECT_EQ(bytes(u[199]), (Bytes{(1 * 0 + 199 * 255) / 200, 0, 0, (199 * 255) / 200}));
    EXPECT_EQ(bytes(u[200]), (Bytes{255, 0, 0, 255}));
    EXPECT_EQ(bytes(u[600]), (Bytes{(400 * 255) / 800, (400 * 255) / 800, 0, 255}));

    // Before the first stop and after the last the colour is constant.
    TextureFields h = stops({{0xFF0000FFu, 100}, {0xFFFF0000u, 200}});
    const auto w = buildColourTable(h, ColourOrder::Host);
    EXPECT_EQ(bytes(w[0]), (Bytes{255, 0, 0, 255}));
    EXPECT_EQ(bytes(w[391]), (Bytes{255, 0, 0, 255}));
    EXPECT_EQ(bytes(w[784]), (Bytes{0, 0, 255, 255}));
    EXPECT_EQ(bytes(w[999]), (Bytes{0, 0, 255, 255}));
}

TEST(ColourTable, StopsFromAFileAreMadeUsable) {
    // Unsorted and out of range: the same table as the clamped, sorted list.
    TextureFields bad = stops({{0xFFFFFFFFu, 900}, {0xFF0000FFu, 100}, {0x00000000u, -40}});
    TextureFields good = stops({{0x00000000u, 0}, {0xFF0000FFu, 100}, {0xFFFFFFFFu, 255}});
    const auto a = buildColourTable(bad, ColourOrder::Display);
    const auto b = buildColourTable(good, ColourOrder::Display);
    ASSERT_EQ(a.size(), 1000u);
    for (int k = 0; k < 1000; ++k) {
        EXPECT_EQ(bytes(a[k]), bytes(b[k])) << k;
    }

    // Equal positions keep their listed order.
    TextureFields ties = stops({{0xFF0000FFu, 128}, {0xFFFF0000u, 128}, {0xFF00FF00u, 10}});
    const auto t = buildColourTable(ties, ColourOrder::Host);
    EXPECT_EQ(bytes(t[501]), (Bytes{0, 0, 255, 255})); // after both stops at 128: the second one
    EXPECT_EQ(bytes(t[0]), (Bytes{0, 255, 0, 255}));

    // Counts outside 1..8.
    for (std::int32_t count : {0, -3, 9, 2147483647, -2147483647 - 1}) {
        TextureFields f;
        f.colourCount = count;
        for (int i = 0; i < kMaxColourStops; ++i) {
            f.colours[i] = 0xFF000000u | (i * 30u);
            f.positions[i] = i * 36;
        }
        const auto table = buildColourTable(f, ColourOrder::Host);
        EXPECT_EQ(table.size(), 1000u) << count;
        if (count < 1) {
            EXPECT_EQ(bytes(table[999]), (Bytes{0, 0, 0, 255}));
        } else {
            EXPECT_EQ(bytes(table[999]), (Bytes{210, 0, 0, 255}));
        }
    }
}

TEST(ColourTable, LookupIndex) {
    EXPECT_EQ(lookupIndex(-1.0), 0);
    EXPECT_EQ(lookupIndex(0.0), 499);
    EXPECT_EQ(lookupIndex(1.0), 999);
    EXPECT_EQ(lookupIndex(-0.5), 249);
    EXPECT_EQ(lookupIndex(0.9999), 999);
    EXPECT_EQ(lookupIndex(-1.5), 0);
    EXPECT_EQ(lookupIndex(2.0), 999);
    EXPECT_EQ(lookupIndex(1e300), 999);
    EXPECT_EQ(lookupIndex(-1e300), 0);
    EXPECT_EQ(lookupIndex(std::numeric_limits<double>::infinity()), 999);
    EXPECT_EQ(lookupIndex(-std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(lookupIndex(std::numeric_limits<double>::quiet_NaN()), 0);
}

} // namespace
