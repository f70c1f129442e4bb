// The colour panel and slider's picture, marker and picking, over the picker model.
#include "dialog/VXColourPanelModel.h"

#include <algorithm>

namespace morvessan {

namespace {

bool isRgb(VXColourChannel channel) {
    return channel == VXColourChannel::Red || channel == VXColourChannel::Green || channel == VXColourChannel::Blue;
}

// Value 0 at the first pixel, the channel's maximum at the last.
int spread(int pixel, int pixels, int maximum) { return pixels > 1 ? pixel * maximum / (pixels - 1) : 0; }

} // namespace

std::vector<std::uint32_t> VXColourPanelModel::picture(VXSizeI size) const {
    const VXColourAxes a = axes();
    const int width = std::max(size.width, 0);
    const int height = std::max(size.height, 0);
    const int sliderValue = channelValue(m_picker, a.slider);
    const int xValue = channelValue(m_picker, a.x);
    const int yValue = channelValue(m_picker, a.y);
    std::vector<std::uint32_t> colours;
    colours.reserve(static_cast<std::size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        const int up = height - 1 - row;
        for (int column = 0; column < width; ++column) {
            colours.push_back(m_is_slider
                                  ? colourAtAxes(a, spread(up, height, channelMaximum(a.slider)), xValue, yValue)
                                  : colourAtAxes(a, sliderValue, spread(column, width, channelMaximum(a.x)),
                                                 spread(up, height, channelMaximum(a.y))));
        }
    }
    return colours;
}

VXColourPanelModel::Point VXColourPanelModel::marker(VXSizeI size) const {
    const VXColourAxes a = axes();
    const auto along = [&](VXColourChannel channel, int pixels) {
        return channelValue(m_picker, channel) * (pixels - 1) / channelMaximum(channel);
    };
    if (m_is_slider) {
        return Point{0, size.height - 1 - along(a.slider, size.height)};
    }
    return Point{along(a.x, size.width), size.height - 1 - along(a.y, size.height)};
}

unsigned VXColourPanelModel::pick(int x, int y, VXSizeI size) {
    const VXColourAxes a = axes();
    const int width = std::max(size.width - 1, 1);
    const int height = std::max(size.height - 1, 1);
    const int cx = std::clamp(x, 0, width);
    const int cy = std::clamp(size.height - 1 - y, 0, height);
    if (m_is_slider) {
        setChannelValue(m_picker, a.slider, cy * channelMaximum(a.slider) / height);
    } else if (isRgb(a.slider)) {
        // Both axes at once, so that the second does not undo the first through a rounding trip.
        m_picker.setColour(colourAtAxes(a, channelValue(m_picker, a.slider), cx * channelMaximum(a.x) / width,
                                        cy * channelMaximum(a.y) / height));
    } else {
        // Field by field, so that the HSL fields stay as chosen (a grey keeps its hue).
        setChannelValue(m_picker, a.x, cx * channelMaximum(a.x) / width);
        setChannelValue(m_picker, a.y, cy * channelMaximum(a.y) / height);
    }
    return changes();
}

unsigned VXColourPanelModel::step(int dx, int dy) {
    const VXColourAxes a = axes();
    if (m_is_slider) {
        setChannelValue(m_picker, a.slider, channelValue(m_picker, a.slider) + dy + dx);
    } else {
        if (dx != 0) {
            setChannelValue(m_picker, a.x, channelValue(m_picker, a.x) + dx);
        }
        if (dy != 0) {
            setChannelValue(m_picker, a.y, channelValue(m_picker, a.y) + dy);
        }
    }
    return changes();
}

unsigned VXColourPanelModel::changes() const {
    if (m_is_slider) {
        return kChangeFields | kChangeSliderMarker |
               (m_picker.panelFollowsSlider() ? kChangePanel : kChangePanelMarker);
    }
    return kChangeFields | kChangePanelMarker | (m_picker.sliderFollowsPanel() ? kChangeSlider : kChangeSliderMarker);
}

} // namespace morvessan
