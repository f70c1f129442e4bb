// Axis channels of the colour picker's panel and slider.
#include "dialog/VXColourAxes.h"

#include <algorithm>

namespace morvessan {

namespace {

bool isHsl(VXColourChannel channel) {
    return channel == VXColourChannel::Hue || channel == VXColourChannel::Saturation ||
           channel == VXColourChannel::Luminance;
}

} // namespace

VXColourAxes colourAxes(int style) {
    using C = VXColourChannel;
    switch (style) {
    case 0: return {C::Red, C::Blue, C::Green};
    case 1: return {C::Green, C::Blue, C::Red};
    case 2: return {C::Blue, C::Red, C::Green};
    case 4: return {C::Saturation, C::Hue, C::Luminance};
    case 5: return {C::Luminance, C::Hue, C::Saturation};
    case 3:
    default: return {C::Hue, C::Saturation, C::Luminance};
    }
}

int channelMaximum(VXColourChannel channel) { return channel == VXColourChannel::Hue ? 359 : 255; }

int channelDigits(VXColourChannel channel) {
    int digits = 1;
    for (int rest = channelMaximum(channel); rest >= 10; rest /= 10) {
        ++digits;
    }
    return digits;
}

int channelValue(const VXPSColourPickerModel& model, VXColourChannel channel) {
    const std::uint32_t c = model.colour();
    switch (channel) {
    case VXColourChannel::Red: return static_cast<int>(c & 0xFF);
    case VXColourChannel::Green: return static_cast<int>((c >> 8) & 0xFF);
    case VXColourChannel::Blue: return static_cast<int>((c >> 16) & 0xFF);
    case VXColourChannel::Hue: return model.hsl().hue;
    case VXColourChannel::Saturation: return model.hsl().saturation;
    case VXColourChannel::Luminance: return model.hsl().luminance;
    }
    return 0;
}

unsigned setChannelValue(VXPSColourPickerModel& model, VXColourChannel channel, int value) {
    switch (channel) {
    case VXColourChannel::Red: return model.setRed(value);
    case VXColourChannel::Green: return model.setGreen(value);
    case VXColourChannel::Blue: return model.setBlue(value);
    case VXColourChannel::Hue: return model.setHue(value);
    case VXColourChannel::Saturation: return model.setSaturation(value);
    case VXColourChannel::Luminance: return model.setLuminance(value);
    }
    return kChangeNothing;
}

std::uint32_t colourAtAxes(const VXColourAxes& axes, int sliderValue, int xValue, int yValue) {
    const std::pair<VXColourChannel, int> values[3] = {{axes.slider, sliderValue}, {axes.x, xValue}, {axes.y, yValue}};
    if (isHsl(axes.slider)) {
        VXHsl hsl{0, 0, 0};
        for (const auto& [channel, value] : values) {
            const int v = std::clamp(value, 0, channelMaximum(channel));
            if (channel == VXColourChannel::Hue) {
                hsl.hue = v;
            } else if (channel == VXColourChannel::Saturation) {
                hsl.saturation = v;
            } else {
                hsl.luminance = v;
            }
        }
        return hslToRgb(hsl);
    }
    std::uint32_t colour = 0;
    for (const auto& [channel, value] : values) {
        const auto v = static_cast<std::uint32_t>(std::clamp(value, 0, 255));
        colour |= v << (channel == VXColourChannel::Red ? 0 : channel == VXColourChannel::Green ? 8 : 16);
    }
    return colour;
}

} // namespace morvessan
