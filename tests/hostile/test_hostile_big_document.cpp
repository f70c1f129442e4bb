// The plug-in under hosts that offer 32-bit coordinates: served past 16 bits, and
// refused clearly, before any pixel, when the structure describes no real area.
#include "HostileHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace morvessan;
using namespace morvessan::test;

namespace {

Quirks bigDocument() {
    Quirks quirks;
    quirks.bigDocument = true;
    return quirks;
}

} // namespace

TEST(HostileBigDocument, RectanglesPastSixteenBitsAreAskedForInThirtyTwo) {
    for (const auto& [w, h] : {std::pair{40000, 2}, std::pair{2, 40000}, std::pair{300, 200}}) {
        HostileHost host(testedEntry(), w, h, bigDocument());
        ASSERT_EQ(host.run(), noErr) << w << "x" << h;
        EXPECT_EQ(host.bigDocument().PluginUsing32BitCoordinates, 1);
        EXPECT_TRUE(host.servedWide());
        EXPECT_FALSE(host.askedOutsideImage());
        // One call for each 16 tiles along a row, and the host's own serving of the
        // last one before Continue.
        EXPECT_EQ(host.advanceCalls(), ((w + 2047) / 2048) * ((h + 127) / 128) + 1);
        EXPECT_EQ(host.locks(), host.unlocks());
        // Nothing is left asked for, in either set of fields.
        EXPECT_EQ(host.bigDocument().outRect32.right, 0);
        EXPECT_EQ(host.record().outRect.right, 0);
    }
    // With a selection, its rectangles too.
    Quirks masked = bigDocument();
    masked.mask = true;
    HostileHost host(testedEntry(), 33000, 3, masked);
    EXPECT_EQ(host.run(), noErr);
    EXPECT_FALSE(host.askedOutsideImage());
}

TEST(HostileBigDocument, ImpossibleAreasAreRefusedBeforeAnyPixel) {
    const std::pair<const char*, std::function<void(BigDocumentStruct&)>> spoilers[] = {
        {"negative left", [](BigDocumentStruct& b) { b.filterRect32.left = -5; }},
        {"negative top", [](BigDocumentStruct& b) { b.filterRect32.top = -1; }},
        {"inside out", [](BigDocumentStruct& b) { std::swap(b.filterRect32.left, b.filterRect32.right); }},
        {"upside down", [](BigDocumentStruct& b) { std::swap(b.filterRect32.top, b.filterRect32.bottom); }},
        {"past the right", [](BigDocumentStruct& b) { b.filterRect32.right = 40001; }},
        {"past the bottom", [](BigDocumentStruct& b) { b.filterRect32.bottom = 0x7FFFFFFF; }},
        {"negative size", [](BigDocumentStruct& b) { b.imageSize32.h = -40000; }},
        {"smallest numbers",
         [](BigDocumentStruct& b) {
             b.filterRect32 = VRect{INT32_MIN, INT32_MIN, 5, 5};
         }},
        {"left zeroed", [](BigDocumentStruct& b) { b = BigDocumentStruct{}; }},
    };
    for (const auto& [name, spoil] : spoilers) {
        for (const bool prepare : {true, false}) {
            HostileHost host(testedEntry(), 40000, 3, bigDocument());
            spoil(host.bigDocument());
            EXPECT_EQ(host.run(prepare), errReportString) << name;
            EXPECT_EQ(host.errorString(),
                      "The host described the image with 32-bit coordinates that do not fit together.")
                << name;
            EXPECT_EQ(host.advanceCalls(), 0) << name;
            EXPECT_EQ(host.locks(), host.unlocks()) << name;
        }
    }
    // Without an error string the code alone says it.
    Quirks silent = bigDocument();
    silent.errorString = false;
    HostileHost host(testedEntry(), 40000, 3, silent);
    host.bigDocument().filterRect32.left = -5;
    EXPECT_EQ(host.run(), errReportString);
}

TEST(HostileBigDocument, ClippedOrShortServingIsRefused) {
    Quirks clipping = bigDocument();
    clipping.clipTiles = true;
    HostileHost clipped(testedEntry(), 40000, 2, clipping);
    EXPECT_EQ(clipped.run(), paramErr);
    EXPECT_EQ(clipped.advanceCalls(), 1);
    EXPECT_FALSE(clipped.outputWritten());
    Quirks shortRows = bigDocument();
    shortRows.rowsShortBy = 1;
    HostileHost shortened(testedEntry(), 40000, 2, shortRows);
    EXPECT_EQ(shortened.run(), paramErr);
    EXPECT_FALSE(shortened.outputWritten());
}

TEST(HostileBigDocument, AnAreaWithinSixteenBitsIsTheSameEitherWay) {
    // The 32-bit fields are read even where the 16-bit ones would do, and a host
    // whose two sets disagree is taken at its 32-bit word.
    HostileHost host(testedEntry(), 300, 200, bigDocument());
    host.bigDocument().filterRect32 = VRect{10, 20, 60, 100};
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(host.advanceCalls(), 2);
    EXPECT_FALSE(host.askedOutsideImage());
    // A host without the structure is served from the 16-bit fields, as ever.
    HostileHost narrow(testedEntry(), 300, 200);
    ASSERT_EQ(narrow.run(), noErr);
    EXPECT_EQ(narrow.record().bigDocumentData, nullptr);
    EXPECT_FALSE(narrow.servedWide());
    EXPECT_EQ(narrow.advanceCalls(), 3);
}
