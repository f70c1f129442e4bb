// Picture grid metrics: thumbnail size, captions cut with "..." and their tooltips,
// and the cells, hits and scrolling of the grid.
#include "dialog/VXGridMetrics.h"

#include <gtest/gtest.h>

using namespace morvessan;

TEST(GridMetrics, ThumbnailsAndCaptions) {
    EXPECT_EQ(thumbnailMetrics(90, 100, 13), (VXThumbnailMetrics{80, 82, 5}));
    EXPECT_EQ(thumbnailMetrics(8, 10, 13), (VXThumbnailMetrics{0, 0, 5}));

    const auto measure = [](std::string_view text) { return 6 * static_cast<int>(text.size()); };
    EXPECT_EQ(fitCaption("Marble", 36, measure), "Marble"); // exactly as wide as the cell
    EXPECT_FALSE(captionNeedsTooltip("Marble", 36, measure));
    EXPECT_EQ(fitCaption("Granite Blocks", 60, measure), "Granite...");
    EXPECT_TRUE(captionNeedsTooltip("Granite Blocks", 60, measure));
    EXPECT_EQ(fitCaption("Granite Blocks", 10, measure), "...");
}

TEST(GridMetrics, Layout) {
    const VXGridLayout grid{50, 60, 175, 130};
    EXPECT_EQ(grid.columns(), 3);
    EXPECT_EQ(grid.visibleRows(), 2);
    EXPECT_EQ(grid.rows(7), 3);
    EXPECT_EQ(grid.maxScrollRow(7), 1);
    EXPECT_EQ(grid.clampScrollRow(5, 7), 1);
    EXPECT_EQ(grid.cell(4, 1), (PixelRect{50, 0, 100, 60}));
    EXPECT_EQ(grid.hit(60, 10, 1, 7), 4);
    EXPECT_EQ(grid.hit(10, 65, 1, 7), 6);
    EXPECT_EQ(grid.hit(160, 10, 0, 7), -1); // the strip right of the last column
    EXPECT_EQ(grid.hit(60, 125, 1, 7), -1); // past the last item
    EXPECT_EQ(grid.hit(-1, 10, 0, 7), -1);
    EXPECT_EQ(grid.scrollRowShowing(6, 0, 7), 1);
    EXPECT_EQ(grid.scrollRowShowing(0, 1, 7), 0);
    EXPECT_EQ(grid.scrollRowShowing(4, 1, 7), 1);

    const VXGridLayout empty{0, 0, 0, 0};
    EXPECT_EQ(empty.columns(), 1);
    EXPECT_EQ(empty.hit(0, 0, 0, 3), -1);
}
