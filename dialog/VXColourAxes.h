// The colour picker's panel and slider: which channel each axis shows for a
// picker style, and the colour at any point of them.
#pragma once

#include "dialog/VXPSColourPickerModel.h"

#include <cstdint>

namespace morvessan {

enum class VXColourChannel { Red, Green, Blue, Hue, Saturation, Luminance };

// The slider shows the style's channel; the panel the other two of its family
// (x across, y upwards).
struct VXColourAxes {
    VXColourChannel slider;
    VXColourChannel x;
    VXColourChannel y;
};

VXColourAxes colourAxes(int style);
// 359 for hue, 255 for the rest.
int channelMaximum(VXColourChannel channel);
// The characters a channel's field takes: the digits of its maximum.
int channelDigits(VXColourChannel channel);
int channelValue(const VXPSColourPickerModel& model, VXColourChannel channel);
// The model's setter of the channel; returns its change bits.
unsigned setChannelValue(VXPSColourPickerModel& model, VXColourChannel channel, int value);
// The colour with the three axis values given (each within its channel's range).
std::uint32_t colourAtAxes(const VXColourAxes& axes, int sliderValue, int xValue, int yValue);

} // namespace morvessan
