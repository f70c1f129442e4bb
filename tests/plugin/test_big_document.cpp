// Documents past the record's 16-bit coordinates: the driver reads and asks in the
// 32-bit ones the host offers, and a plug-in that reads only 16 bits is refused them.
#include "TestFilter.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace morvessan;
using namespace morvessan::test;

namespace {

bool painted(const HostImage& image, std::int32_t x, std::int32_t y) {
    std::uint8_t rgb[3];
    TestFilter::pattern(x, y, rgb);
    const std::uint8_t* p = image.pixel(x, y);
    return p[0] == rgb[0] && p[1] == rgb[1] && p[2] == rgb[2];
}

// PluginMain as a plug-in written before 32-bit coordinates sees the record: it
// never finds the host's structure, so the host reads its 16-bit rectangles.
void narrowEntry(int16 selector, FilterRecord* record, std::intptr_t* data, int16* result) {
    BigDocumentStruct* big = record != nullptr && selector != filterSelectorAbout ? record->bigDocumentData : nullptr;
    if (big != nullptr) {
        record->bigDocumentData = nullptr;
    }
    PluginMain(selector, record, data, result);
    if (big != nullptr) {
        record->bigDocumentData = big;
    }
}

} // namespace

TEST(BigDocument, SidesPastSixteenBitsAreAskedForAndServedInThirtyTwoBits) {
    for (const auto& [w, h] : {std::pair{40000, 2}, std::pair{3, 33000}}) {
        TestFilter filter;
        PluginOverride use(filter);
        FilterHost host;
        host.setImage(gradientImage(w, h, 3));
        ASSERT_EQ(host.run(), noErr) << w << "x" << h;
        const BigDocumentStruct& big = *host.record().bigDocumentData;
        EXPECT_EQ(big.PluginUsing32BitCoordinates, 1);
        EXPECT_EQ(filter.GetFilterRect(), (VXPSRect{0, 0, w, h}));
        // The 16-bit fields were offered clamped.
        EXPECT_EQ(host.record().imageSize.h, std::min(w, 32767));
        EXPECT_EQ(host.record().imageSize.v, std::min(h, 32767));
        const auto& last = host.requests().back();
        EXPECT_TRUE(last.wide);
        EXPECT_EQ(last.in32.right, w);
        EXPECT_EQ(last.in32.bottom, h);
        EXPECT_EQ(last.out32.bottom, h);
        EXPECT_EQ(last.in.right, std::min(w, 32767));
        EXPECT_EQ(last.in.bottom, std::min(h, 32767));
        ASSERT_EQ(filter.tiles.size(), std::size_t((w + 127) / 128) * ((h + 127) / 128));
        EXPECT_EQ(filter.tiles.back().rect, (VXPSRect{(w - 1) / 128 * 128, (h - 1) / 128 * 128, w, h}));
        for (std::int32_t y = 0; y < h; ++y) {
            for (std::int32_t x = 0; x < w; ++x) {
                ASSERT_TRUE(painted(host.image(), x, y)) << x << "," << y;
            }
        }
        // Continue emptied the 32-bit rectangles as well as the 16-bit ones.
        EXPECT_EQ(big.inRect32.right, 0);
        EXPECT_EQ(big.outRect32.bottom, 0);
    }
}

TEST(BigDocument, AFilterRectanglePastSixteenBitsIsTheOnlyPartPainted) {
    TestFilter filter;
    PluginOverride use(filter);
    FilterHost host;
    const HostImage original = gradientImage(34000, 3, 4);
    host.setImage(original);
    host.setFilterRect(VXPSRect{33000, 1, 33300, 3});
    HostMask mask(34000, 3, 255);
    host.setMask(mask);
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(filter.tiles.front().rect, (VXPSRect{33000, 1, 33128, 3}));
    EXPECT_TRUE(filter.tiles.front().masked);
    for (std::int32_t y = 0; y < 3; ++y) {
        for (std::int32_t x = 32900; x < 34000; ++x) {
            const bool inside = y >= 1 && x >= 33000 && x < 33300;
            if (inside) {
                ASSERT_TRUE(painted(host.image(), x, y)) << x << "," << y;
            } else {
                ASSERT_EQ(std::memcmp(host.image().pixel(x, y), original.pixel(x, y), 4), 0) << x << "," << y;
            }
        }
    }
}

TEST(BigDocument, APlugInOfSixteenBitsIsServedItsRectanglesUpToTheirReach) {
    // Within 16 bits it paints what the 32-bit reader paints, from the 16-bit fields.
    const HostImage original = gradientImage(300, 140, 3);
    HostImage images[2];
    for (const bool narrow : {false, true}) {
        TestFilter filter;
        PluginOverride use(filter);
        FilterHost host(narrow ? &narrowEntry : &PluginMain);
        host.setImage(original);
        ASSERT_EQ(host.run(), noErr);
        EXPECT_EQ(host.record().bigDocumentData->PluginUsing32BitCoordinates, narrow ? 0 : 1);
        EXPECT_EQ(host.requests().front().wide, !narrow);
        images[narrow] = host.image();
    }
    EXPECT_EQ(images[0].pixels, images[1].pixels);
    // Past them it is refused at its first request, not served the part it can reach.
    for (const auto& [w, h] : {std::pair{32768, 1}, std::pair{1, 40000}}) {
        TestFilter filter;
        PluginOverride use(filter);
        FilterHost host(&narrowEntry);
        host.setImage(gradientImage(w, h, 3));
        EXPECT_EQ(host.run(), kNarrowCoordinatesErr);
        EXPECT_EQ(host.advanceStateCalls(), 1);
        EXPECT_TRUE(filter.tiles.empty());
    }
    EXPECT_EQ(describeFailure(kNarrowCoordinatesErr, ""),
              "the filter module reads 16-bit coordinates only, which reach 32767 pixels a side: a larger picture "
              "needs a module that reads 32-bit ones");
}

TEST(BigDocument, RowsPastTheImageAreRefusedBeforeAnyRowIsHandedOn) {
    // Rows 12 to 14 of a 10-row picture, asked in either set of fields: not one row
    // leaves for the sink, and none is read past the picture's rows.
    for (const bool narrow : {false, true}) {
        TestFilter filter;
        filter.start = [](TestFilter& f) {
            FilterRecord& r = *f.GetFilterRecord();
            r.outLoPlane = 0;
            r.outHiPlane = 2;
            r.outRect = Rect{12, 0, 15, 4};
            if (BigDocumentStruct* big = r.bigDocumentData) {
                big->PluginUsing32BitCoordinates = 1;
                big->outRect32 = VRect{12, 0, 15, 4};
            }
            f.AdvanceState();
        };
        PluginOverride use(filter);
        FilterHost host(narrow ? &narrowEntry : &PluginMain);
        host.setImage(gradientImage(4, 10, 3));
        std::vector<std::int32_t> taken;
        host.setRowStream(HostRowStream{{}, [&](std::int32_t y, const std::uint8_t*) {
                                            taken.push_back(y);
                                            return true;
                                        }});
        EXPECT_EQ(host.run(), paramErr) << narrow;
        EXPECT_TRUE(taken.empty()) << narrow;
    }
}
