// The transformation buttons' tooltips: one distinct text per button.
#include "dialog/PSMorvessanNavigationTips.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace morvessan;

TEST(NavigationTips, OneTextPerButton) {
    std::set<std::string> texts;
    for (int i = 0; i <= static_cast<int>(NavigationButton::Reset); ++i) {
        const std::string text = navigationTip(static_cast<NavigationButton>(i));
        EXPECT_FALSE(text.empty()) << i;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), 13u);
    EXPECT_STREQ(navigationTip(NavigationButton::MoveLeft), "Move Texture Left");
    EXPECT_STREQ(navigationTip(NavigationButton::ZoomOut), "Zoom Out from the Texture");
    EXPECT_STREQ(navigationTip(NavigationButton::Reset), "Reset the Texture Transformation");
}
