// The colour picker's panel and slider axes: which channel each shows per
// style, and the colour at a point of them.
#include "dialog/VXColourAxes.h"

#include <gtest/gtest.h>

using namespace morvessan;

TEST(ColourAxes, EachStyleSlidesItsOwnChannelAndSpreadsTheOtherTwo) {
    using C = VXColourChannel;
    EXPECT_EQ(colourAxes(0).slider, C::Red);
    EXPECT_EQ(colourAxes(2).slider, C::Blue);
    EXPECT_EQ(colourAxes(3).slider, C::Hue);
    EXPECT_EQ(colourAxes(5).x, C::Hue);
    EXPECT_EQ(colourAxes(5).y, C::Saturation);
    EXPECT_EQ(channelMaximum(C::Hue), 359);
    EXPECT_EQ(channelMaximum(C::Luminance), 255);

    // Red slider 0x11, blue across 0x33, green up 0x22; out-of-range values clamp.
    EXPECT_EQ(colourAtAxes(colourAxes(0), 0x11, 0x33, 0x22), 0x332211u);
    EXPECT_EQ(colourAtAxes(colourAxes(0), 300, -5, 0), 0x0000FFu);
    // Hue 240 at full saturation and middle luminance is pure blue (within rounding).
    const std::uint32_t blue = colourAtAxes(colourAxes(3), 240, 255, 128);
    EXPECT_LE(blue & 0xFF, 1u);
    EXPECT_LE((blue >> 8) & 0xFF, 1u);
    EXPECT_GE(blue >> 16, 254u);
}

TEST(ColourAxes, ChannelsReadAndWriteThroughTheModel) {
    VXPSColourPickerModel model(0x000000);
    setChannelValue(model, VXColourChannel::Green, 200);
    EXPECT_EQ(model.colour(), 0x00C800u);
    EXPECT_EQ(channelValue(model, VXColourChannel::Green), 200);
    setChannelValue(model, VXColourChannel::Luminance, 255);
    EXPECT_EQ(model.colour(), 0xFFFFFFu);
}
