// Keyboard selection in a picture grid: arrows by item and row, pages by the rows
// in view, Home and End, and where a grid without a selection starts.
#include "dialog/VXGridMetrics.h"

#include <gtest/gtest.h>

using namespace morvessan;

namespace {

const VXGridLayout kGrid{50, 60, 175, 130}; // 3 columns, 2 rows in view: a page of 6
constexpr int kCount = 14;

} // namespace

TEST(GridKeys, ArrowsMoveByItemAndRow) {
    using K = VXGridKey;
    EXPECT_EQ(kGrid.keySelection(K::Left, 4, kCount), 3);
    EXPECT_EQ(kGrid.keySelection(K::Right, 4, kCount), 5);
    EXPECT_EQ(kGrid.keySelection(K::Up, 4, kCount), 1);
    EXPECT_EQ(kGrid.keySelection(K::Down, 4, kCount), 7);
    // Kept within the items at both ends.
    EXPECT_EQ(kGrid.keySelection(K::Left, 0, kCount), 0);
    EXPECT_EQ(kGrid.keySelection(K::Up, 1, kCount), 0);
    EXPECT_EQ(kGrid.keySelection(K::Up, 0, kCount), 0);
    EXPECT_EQ(kGrid.keySelection(K::Right, 13, kCount), 13);
    EXPECT_EQ(kGrid.keySelection(K::Down, 12, kCount), 13);
}

TEST(GridKeys, PagesHomeAndEnd) {
    using K = VXGridKey;
    EXPECT_EQ(kGrid.keySelection(K::PageDown, 4, kCount), 10);
    EXPECT_EQ(kGrid.keySelection(K::PageDown, 10, kCount), 13);
    EXPECT_EQ(kGrid.keySelection(K::PageUp, 10, kCount), 4);
    EXPECT_EQ(kGrid.keySelection(K::PageUp, 4, kCount), 0);
    EXPECT_EQ(kGrid.keySelection(K::PageUp, 5, kCount), 0); // one page back is just before the first
    EXPECT_EQ(kGrid.keySelection(K::Home, 9, kCount), 0);
    EXPECT_EQ(kGrid.keySelection(K::End, 2, kCount), 13);
    for (K key : {K::Left, K::Right, K::Up, K::Down, K::PageUp, K::PageDown, K::Home, K::End}) {
        EXPECT_EQ(kGrid.keySelection(key, -1, 0), std::nullopt); // nothing to select
    }
}

TEST(GridKeys, WithoutASelectionEveryKeyStartsFromTheFirstItem) {
    using K = VXGridKey;
    for (K key : {K::Left, K::Right, K::Up, K::Down, K::PageUp, K::Home}) {
        EXPECT_EQ(kGrid.keySelection(key, -1, kCount), 0) << static_cast<int>(key);
    }
    EXPECT_EQ(kGrid.keySelection(K::PageDown, -1, kCount), 6);
    EXPECT_EQ(kGrid.keySelection(K::End, -1, kCount), 13);
}
