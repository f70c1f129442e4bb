// The tile driver: tiles, planes, mask, progress, abort and advanceState
// failures, observed through whole host runs.
#include "TestFilter.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace morvessan;
using namespace morvessan::test;

namespace {

bool isZero(const Rect& r) { return r.top == 0 && r.left == 0 && r.bottom == 0 && r.right == 0; }

// Whether (x, y) of `image` holds the test pattern.
bool painted(const HostImage& image, std::int32_t x, std::int32_t y) {
    std::uint8_t rgb[3];
    TestFilter::pattern(x, y, rgb);
    const std::uint8_t* p = image.pixel(x, y);
    return p[0] == rgb[0] && p[1] == rgb[1] && p[2] == rgb[2];
}

} // namespace

TEST(Driver, OddWidthGivesClippedTilesAndProgressFromZero) {
    TestFilter filter;
    PluginOverride use(filter);
    FilterHost host;
    host.setImage(gradientImage(129, 1, 3));
    ASSERT_EQ(host.run(), noErr);
    ASSERT_EQ(filter.tiles.size(), 2u);
    EXPECT_EQ(filter.tiles[0].rect, (VXPSRect{0, 0, 128, 1}));
    EXPECT_EQ(filter.tiles[1].rect, (VXPSRect{128, 0, 129, 1}));
    EXPECT_EQ(filter.tiles[1].in.width, 1);
    EXPECT_EQ(filter.tiles[0].in.layout, kLayoutRGB);
    EXPECT_EQ(filter.tiles[0].in.bytesPerPixel, 3);
    EXPECT_EQ(host.progress(), (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 2}, {1, 2}}));
    EXPECT_EQ(filter.beginRenders, std::vector<bool>{false});
    for (std::int32_t x = 0; x < 129; ++x) {
        EXPECT_TRUE(painted(host.image(), x, 0)) << x;
    }
    // A finished run leaves every member of the three rectangles zero.
    EXPECT_TRUE(isZero(host.record().inRect));
    EXPECT_TRUE(isZero(host.record().outRect));
    EXPECT_TRUE(isZero(host.record().maskRect));
}

TEST(Driver, FilterRectangleIsCoveredAndNothingOutsideIt) {
    TestFilter filter;
    PluginOverride use(filter);
    FilterHost host;
    const HostImage original = gradientImage(300, 140, 3);
    host.setImage(original);
    host.setFilterRect(VXPSRect{10, 5, 290, 139});
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(filter.tiles.size(), 3u * 2u);
    EXPECT_EQ(filter.tiles.back().rect, (VXPSRect{266, 133, 290, 139}));
    for (std::int32_t y = 0; y < 140; ++y) {
        for (std::int32_t x = 0; x < 300; ++x) {
            const bool in = x >= 10 && x < 290 && y >= 5 && y < 139;
            if (in) {
                ASSERT_TRUE(painted(host.image(), x, y)) << x << "," << y;
            } else {
                ASSERT_EQ(std::memcmp(host.image().pixel(x, y), original.pixel(x, y), 3), 0) << x << "," << y;
            }
        }
    }
}

TEST(Driver, WithoutSelectionMaskRectStaysEmptyAndAutoMaskUntouched) {
    TestFilter filter;
    PluginOverride use(filter);
    FilterHost host;
    host.setImage(gradientImage(200, 130, 3));
    ASSERT_EQ(host.run(), noErr);
    ASSERT_EQ(host.requests().size(), 4u);
    for (const auto& request : host.requests()) {
        EXPECT_TRUE(isZero(request.mask));
        EXPECT_EQ(request.inputRate, kFixedOne);
        EXPECT_EQ(request.inHiPlane, 2);
    }
    for (const auto& tile : filter.tiles) {
        EXPECT_FALSE(tile.masked);
    }
    EXPECT_TRUE(host.record().autoMask);
}

TEST(Driver, SelectionIsHandedToMaskedTilesAndAutoMaskCleared) {
    TestFilter filter;
    PluginOverride use(filter);
    FilterHost host;
    const HostImage original = gradientImage(140, 20, 3);
    host.setImage(original);
    HostMask mask(140, 20, 0);
    for (std::int32_t y = 0; y < 20; ++y) {
        for (std::int32_t x = 0; x < 140; ++x) {
            mask.at(x, y) = (x + y) % 3 == 0 ? 255 : 0;
        }
    }
    host.setMask(mask);
    ASSERT_EQ(host.run(), noErr);
    EXPECT_FALSE(host.record().autoMask);
    ASSERT_EQ(filter.tiles.size(), 2u);
    EXPECT_TRUE(filter.tiles[0].masked);
    EXPECT_EQ(filter.tiles[1].mask.layout, kLayoutMask);
    EXPECT_EQ(filter.tiles[1].mask.width, 12);
    for (const auto& request : host.requests()) {
        EXPECT_EQ(request.mask.left, request.in.left);
        EXPECT_EQ(request.mask.right, request.in.right);
    }
    for (std::int32_t y = 0; y < 20; ++y) {
        for (std::int32_t x = 0; x < 140; ++x) {
            if (mask.at(x, y)) {
                ASSERT_TRUE(painted(host.image(), x, y));
            } else {
                ASSERT_EQ(std::memcmp(host.image().pixel(x, y), original.pixel(x, y), 3), 0);
            }
        }
    }
}

TEST(Driver, FourPlanesOnlyWhenTheFilterAllowsThem) {
    {
        TestFilter filter;
        PluginOverride use(filter);
        FilterHost host;
        host.setImage(gradientImage(20, 10, 4));
        ASSERT_EQ(host.run(), noErr);
        EXPECT_EQ(filter.tiles[0].in.layout, kLayoutRGBA);
        EXPECT_EQ(filter.tiles[0].out.bytesPerPixel, 4);
        EXPECT_EQ(host.requests()[0].inHiPlane, 3);
        EXPECT_EQ(host.image().pixel(3, 2)[3], 255 - (100 + 3));
    }
    {
        TestFilter filter;
        filter.allowAlpha = false;
        PluginOverride use(filter);
        FilterHost host;
        host.setImage(gradientImage(20, 10, 4));
        ASSERT_EQ(host.run(), noErr);
        EXPECT_EQ(filter.tiles[0].in.layout, kLayoutRGB);
        EXPECT_EQ(host.requests()[0].inHiPlane, 2);
        EXPECT_EQ(host.image().pixel(3, 2)[3], 100 + 3); // alpha left alone
        EXPECT_TRUE(painted(host.image(), 3, 2));
    }
}

TEST(Driver, AbortStopsAfterTheTileInProgressIsWritten) {
    TestFilter filter;
    PluginOverride use(filter);
    FilterHost host;
    const HostImage original = gradientImage(128 * 3, 128, 3);
    host.setImage(original);
    host.setAbortAfter(2);
    EXPECT_EQ(host.run(), userCanceledErr);
    EXPECT_EQ(filter.tiles.size(), 2u);
    EXPECT_EQ(host.progress().size(), 1u);
    EXPECT_TRUE(painted(host.image(), 200, 5)); // second tile written
    EXPECT_EQ(std::memcmp(host.image().pixel(300, 5), original.pixel(300, 5), 3), 0);
    EXPECT_FALSE(host.parametersLocked());
}

TEST(Driver, AdvanceStateFailureReachesTheResultUnchanged) {
    TestFilter filter;
    PluginOverride use(filter);
    FilterHost host;
    host.setImage(gradientImage(300, 10, 3));
    host.setAdvanceStateFailure(2, -5001);
    EXPECT_EQ(host.run(), -5001);
    EXPECT_EQ(filter.tiles.size(), 1u);
    EXPECT_FALSE(host.parametersLocked());

    // A request the host cannot serve is refused with paramErr, which reaches the host too.
    host.setAdvanceStateFailure(0, noErr);
    filter.tiles.clear();
    filter.start = [](TestFilter& f) {
        f.GetFilterRecord()->inputRate = kFixedOne / 2;
        f.GetFilterRecord()->inRect = Rect{0, 0, 1, 1};
        f.GetFilterRecord()->bigDocumentData->inRect32 = VRect{0, 0, 1, 1}; // what this host reads
        f.AdvanceState();
    };
    EXPECT_EQ(host.run(), paramErr);
}

TEST(Driver, HostRefusesDocumentsTheRecordCannotDescribe) {
    TestFilter filter;
    PluginOverride use(filter);
    FilterHost host;
    host.setImage(gradientImage(20, 10, 3));
    host.setFilterRect(VXPSRect{5, 5, 21, 10});
    EXPECT_EQ(host.run(), paramErr);
    host.setFilterRect(std::nullopt);
    host.setMask(HostMask(19, 10));
    EXPECT_EQ(host.run(), paramErr);
    host.setMask(std::nullopt);
    host.setImage(HostImage(kMaxFilterSide + 1, 1, 3));
    EXPECT_EQ(host.run(), paramErr);
    EXPECT_TRUE(filter.tiles.empty());
    EXPECT_EQ(filter.initialised, 0);
}
