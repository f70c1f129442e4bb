// Colour picker model: HSL conversion, the basic colour grid, Add Custom's slot
// rule and the 4-byte settings of custom colours, placement and style.
#include "dialog/VXPSColourPickerModel.h"

#include "VXLib/VXUTIL/VXNumberText.h"
#include "VXLib/VXUTIL/VXPlatform.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace morvessan {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFu;

std::uint32_t makeColour(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue) << 16;
}

int channelOf(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFFu); }

double hueChannel(double p, double q, double t) {
    if (t < 0)
        t += 1;
    if (t > 1)
        t -= 1;
    if (t < 1.0 / 6)
        return p + (q - p) * 6 * t;
    if (t < 0.5)
        return q;
    if (t < 2.0 / 3)
        return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

int toByte(double unit) { return std::clamp(static_cast<int>(std::lround(unit * 255)), 0, 255); }

std::optional<std::int32_t> readNumber(const std::string& key, const std::string& name) {
    if (key.empty()) {
        return std::nullopt;
    }
    const auto bytes = vxPlatform().readSetting(VXPSColourPickerModel::kSettingsRoot + key, name);
    if (!bytes || bytes->size() != 4) {
        return std::nullopt;
    }
    const std::uint32_t value = (*bytes)[0] | (*bytes)[1] << 8 | (*bytes)[2] << 16 | std::uint32_t((*bytes)[3]) << 24;
    return static_cast<std::int32_t>(value);
}

void writeNumber(const std::string& key, const std::string& name, std::uint32_t value) {
    if (key.empty()) {
        return;
    }
    const std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                             static_cast<std::uint8_t>(value >> 16),
                                             static_cast<std::uint8_t>(value >> 24)};
    // A failed write is not worth a message: the picker works the same without its settings.
    vxPlatform().writeSetting(VXPSColourPickerModel::kSettingsRoot + key, name, bytes);
}

std::string customName(int i) { return "CustomColour" + formatInt(i); }

} // namespace

const std::array<VXColourStyleEntry, 6>& colourStyles() {
    static const std::array<VXColourStyleEntry, 6> styles = {{
        {"HSL - Hue", 3, true, false},
        {"HSL - Luminance", 5, false, true},
        {"HSL - Saturation", 4, false, true},
        {"RGB - Red", 0, true, true},
        {"RGB - Green", 1, true, true},
        {"RGB - Blue", 2, true, true},
    }};
    return styles;
}

int styleListIndex(int stored) {
    const auto& styles = colourStyles();
    for (std::size_t i = 0; i < styles.size(); ++i) {
        if (styles[i].stored == stored) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

VXHsl rgbToHsl(std::uint32_t colour) {
    const int red = channelOf(colour, 0);
    const int green = channelOf(colour, 8);
    const int blue = channelOf(colour, 16);
    const int high = std::max({red, green, blue});
    const int low = std::min({red, green, blue});
    const int sum = high + low;
    const int delta = high - low;
    VXHsl hsl{0, 0, (sum + 1) / 2};
    if (delta == 0) {
        return hsl;
    }
    // Saturation relative to the luminance's distance from black or white.
    const int reach = sum <= 255 ? sum : 510 - sum;
    hsl.saturation = std::min(255, (255 * delta + reach / 2) / reach);
    double hue = 0;
    if (high == red) {
        hue = double(green - blue) / delta;
    } else if (high == green) {
        hue = 2.0 + double(blue - red) / delta;
    } else {
        hue = 4.0 + double(red - green) / delta;
    }
    hsl.hue = static_cast<int>(std::lround(hue * 60)) % 360;
    if (hsl.hue < 0) {
        hsl.hue += 360;
    }
    return hsl;
}

std::uint32_t hslToRgb(const VXHsl& hsl) {
    const double l = std::clamp(hsl.luminance, 0, 255) / 255.0;
    const double s = std::clamp(hsl.saturation, 0, 255) / 255.0;
    if (s == 0) {
        const int grey = std::clamp(hsl.luminance, 0, 255);
        return makeColour(grey, grey, grey);
    }
    const double h = ((hsl.hue % 360 + 360) % 360) / 360.0;
    const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
    const double p = 2 * l - q;
    return makeColour(toByte(hueChannel(p, q, h + 1.0 / 3)), toByte(hueChannel(p, q, h)),
                      toByte(hueChannel(p, q, h - 1.0 / 3)));
}

std::uint32_t basicColour(int index) {
    if (index < 0 || index >= VXPSColourPickerModel::kBasicCount) {
        return 0;
    }
    const int row = index / 7;
    const int column = index % 7;
    if (row == 0) {
        const int grey = 255 * column / 6;
        return makeColour(grey, grey, grey);
    }
    return hslToRgb({60 * (row - 1), 255, 32 * (column + 1)});
}

VXPSColourPickerModel::VXPSColourPickerModel(std::uint32_t colour) {
    m_custom.fill(kWhite);
    setColour(colour);
}

void VXPSColourPickerModel::setKeys(std::string customKey, std::string placementKey, std::string styleKey) {
    m_custom_key = std::move(customKey);
    m_placement_key = std::move(placementKey);
    m_style_key = std::move(styleKey);
}

void VXPSColourPickerModel::load() {
    for (int i = 0; i < kCustomCount; ++i) {
        if (const auto value = readNumber(m_custom_key, customName(i))) {
            m_custom[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(*value);
        }
    }
    const auto left = readNumber(m_placement_key, "WindowLeft");
    const auto top = readNumber(m_placement_key, "WindowTop");
    const auto right = readNumber(m_placement_key, "WindowRight");
    const auto bottom = readNumber(m_placement_key, "WindowBottom");
    if (left && top && right && bottom) {
        m_placement = {*left, *top, *right, *bottom};
    } else {
        m_placement.left = m_placement.right = -1;
    }
    if (const auto style = readNumber(m_style_key, "ColorStyle")) {
        setStyle(*style);
    }
}

void VXPSColourPickerModel::save(const VXRectI& windowRect) {
    for (int i = 0; i < kCustomCount; ++i) {
        writeNumber(m_custom_key, customName(i), m_custom[static_cast<std::size_t>(i)]);
    }
    writeNumber(m_placement_key, "WindowLeft", static_cast<std::uint32_t>(windowRect.left));
    writeNumber(m_placement_key, "WindowTop", static_cast<std::uint32_t>(windowRect.top));
    writeNumber(m_placement_key, "WindowRight", static_cast<std::uint32_t>(windowRect.right));
    writeNumber(m_placement_key, "WindowBottom", static_cast<std::uint32_t>(windowRect.bottom));
    writeNumber(m_style_key, "ColorStyle", static_cast<std::uint32_t>(m_style));
    m_placement = windowRect;
}

unsigned VXPSColourPickerModel::setColour(std::uint32_t colour) {
    m_colour = colour & kWhite;
    m_hsl = rgbToHsl(m_colour);
    return kChangePickerColour;
}

unsigned VXPSColourPickerModel::setRgbChannel(int shift, int value) {
    const std::uint32_t mask = 0xFFu << shift;
    return setColour((m_colour & ~mask) | static_cast<std::uint32_t>(std::clamp(value, 0, 255)) << shift);
}

unsigned VXPSColourPickerModel::setHslField(int VXHsl::*field, int value, int maximum) {
    m_hsl.*field = std::clamp(value, 0, maximum);
    m_colour = hslToRgb(m_hsl);
    return kChangePickerColour;
}

unsigned VXPSColourPickerModel::setRed(int red) { return setRgbChannel(0, red); }
unsigned VXPSColourPickerModel::setGreen(int green) { return setRgbChannel(8, green); }
unsigned VXPSColourPickerModel::setBlue(int blue) { return setRgbChannel(16, blue); }
unsigned VXPSColourPickerModel::setHue(int hue) { return setHslField(&VXHsl::hue, hue, 359); }
unsigned VXPSColourPickerModel::setSaturation(int saturation) {
    return setHslField(&VXHsl::saturation, saturation, 255);
}
unsigned VXPSColourPickerModel::setLuminance(int luminance) { return setHslField(&VXHsl::luminance, luminance, 255); }

std::uint32_t VXPSColourPickerModel::customColour(int i) const {
    return i >= 0 && i < kCustomCount ? m_custom[static_cast<std::size_t>(i)] : kWhite;
}

void VXPSColourPickerModel::setCustomColour(int i, std::uint32_t colour) {
    if (i >= 0 && i < kCustomCount) {
        m_custom[static_cast<std::size_t>(i)] = colour;
    }
}

unsigned VXPSColourPickerModel::selectCustom(int i) {
    m_selected_custom = i >= 0 && i < kCustomCount ? i : -1;
    return kChangeCustomWells;
}

unsigned VXPSColourPickerModel::toggleCustom(int i) { return selectCustom(m_selected_custom == i ? -1 : i); }

std::string VXPSColourPickerModel::addCustom() {
    int slot = m_selected_custom;
    if (slot < 0) {
        const auto white = std::find(m_custom.begin(), m_custom.end(), kWhite);
        slot = white == m_custom.end() ? -1 : static_cast<int>(white - m_custom.begin());
    }
    m_last_added = slot;
    if (slot < 0) {
        return kNoFreeSlotMessage;
    }
    m_custom[static_cast<std::size_t>(slot)] = m_colour;
    return {};
}

unsigned VXPSColourPickerModel::addCustomColour() {
    const std::string refused = addCustom();
    if (!refused.empty()) {
        vxPlatform().messageBox(refused, kCaption, VXMessageButtons::Ok, VXMessageIcon::Information);
    }
    return kChangeCustomWells;
}

unsigned VXPSColourPickerModel::setStyle(int stored) {
    if (styleListIndex(stored) < 0) {
        return kChangeNothing;
    }
    m_style = stored;
    return kChangePickerStyle | kChangePanel | kChangeSlider;
}

// The options change no picture: they decide what the next pick redraws.
unsigned VXPSColourPickerModel::setPanelControlsSlider(bool on) {
    m_panel_controls_slider = on;
    return kChangeNothing;
}

unsigned VXPSColourPickerModel::setSliderControlsPanel(bool on) {
    m_slider_controls_panel = on;
    return kChangeNothing;
}

} // namespace morvessan
