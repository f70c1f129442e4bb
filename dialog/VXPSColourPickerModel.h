// The colour picker without its window: styles, basic colours, the current colour in
// RGB and HSL kept in step, custom colours with Add Custom, the persisted settings, and
// what each change asks the window to redraw.
#pragma once

#include "dialog/PSMorvessanChange.h"
#include "dialog/VXGeometry.h"

#include <array>
#include <cstdint>
#include <string>

namespace morvessan {

struct VXColourStyleEntry {
    const char* name;
    int stored;               // value kept in the settings
    bool panelControlsSlider; // whether the option "Panel controls slider" is offered
    bool sliderControlsPanel; // whether the option "Slider controls panel" is offered
};

// The six picker styles in the order the style list shows them.
const std::array<VXColourStyleEntry, 6>& colourStyles();
// Position in colourStyles() of a stored style; -1 if unknown.
int styleListIndex(int stored);

// Hue 0..359 degrees; saturation and luminance 0..255 (full byte range, like the channels).
struct VXHsl {
    int hue;
    int saturation;
    int luminance;
    bool operator==(const VXHsl&) const = default;
};

// Standard HSL, each result rounded to the nearest integer. Greys and the primary and
// secondary colours come back within 1 per channel.
VXHsl rgbToHsl(std::uint32_t colour);
std::uint32_t hslToRgb(const VXHsl& hsl);

// Basic colour well 0..48 (row × 7 + column): row 0 seven greys from black to white, rows
// 1..6 full saturation at hues 0, 60, ... 300 with luminance 32, 64, ... 224. Black outside.
std::uint32_t basicColour(int index);

class VXPSColourPickerModel {
public:
    static constexpr int kCustomCount = 21;
    static constexpr int kBasicCount = 49;
    static constexpr const char* kCaption = "Colour Picker";
    static constexpr const char* kDefaultKey = "Quellory\\Artisory\\ColourDialog";
    // Key names are relative to this per-user root.
    static constexpr const char* kSettingsRoot = "Software\\";
    static constexpr const char* kNoFreeSlotMessage =
        "There was no unused (i.e. white) custom colour slot found.\nRight click on the custom colour you wish to "
        "overwrite and then click 'Add Custom' again";

    explicit VXPSColourPickerModel(std::uint32_t colour);

    // Where custom colours, placement and style live; an empty key is neither read nor written.
    void setKeys(std::string customKey, std::string placementKey, std::string styleKey);
    // Reads the settings through the platform; only 4-byte values count, anything missing keeps its default.
    void load();
    // Writes all 21 custom colours, the window rectangle and the style as 4-byte little-endian values.
    void save(const VXRectI& windowRect);

    // Every operation returns the PSMorvessanChange bits of what the window redraws;
    // a new colour redraws fields, well, panel and slider (kChangePickerColour).
    std::uint32_t colour() const { return m_colour; }
    unsigned setColour(std::uint32_t colour);
    VXHsl hsl() const { return m_hsl; }
    // Each clamps to its range and updates the other representation. The HSL setters keep
    // the HSL fields as set (a grey keeps its hue), the RGB ones derive them again.
    unsigned setRed(int red);
    unsigned setGreen(int green);
    unsigned setBlue(int blue);
    unsigned setHue(int hue);
    unsigned setSaturation(int saturation);
    unsigned setLuminance(int luminance);

    // Custom colours; reading outside 0..20 gives white, writing there is ignored.
    std::uint32_t customColour(int i) const;
    void setCustomColour(int i, std::uint32_t colour);
    int selectedCustom() const { return m_selected_custom; }
    unsigned selectCustom(int i); // -1 or out of range: none
    // A right click on custom well `i`: selects it, or clears the selection when it was selected.
    unsigned toggleCustom(int i);

    // Puts the current colour into the selected custom slot, else the first white one.
    // Returns the message to show when there is none (nothing changes), else empty.
    std::string addCustom();
    // The slot the last successful addCustom filled; -1 before or after a refusal.
    int lastAddedCustom() const { return m_last_added; }
    // "Add Custom": addCustom, with a refusal shown as an information box captioned kCaption.
    unsigned addCustomColour();

    int style() const { return m_style; }
    // A new style redraws panel and slider around its channels; unknown values are ignored.
    unsigned setStyle(int stored);
    const VXColourStyleEntry& styleEntry() const { return colourStyles()[styleListIndex(m_style)]; }

    // The options "Panel controls slider" and "Slider controls panel", both on at first.
    bool panelControlsSlider() const { return m_panel_controls_slider; }
    bool sliderControlsPanel() const { return m_slider_controls_panel; }
    unsigned setPanelControlsSlider(bool on);
    unsigned setSliderControlsPanel(bool on);
    // Whether a colour chosen on the panel redraws the slider's picture (and the other
    // way round): when the option is on, or when the style does not offer it.
    bool sliderFollowsPanel() const { return m_panel_controls_slider || !styleEntry().panelControlsSlider; }
    bool panelFollowsSlider() const { return m_slider_controls_panel || !styleEntry().sliderControlsPanel; }

    bool hasPlacement() const { return !(m_placement.left == -1 && m_placement.right == -1); }
    VXRectI placement() const { return m_placement; } // left == right == -1 when none

private:
    unsigned setRgbChannel(int shift, int value);
    unsigned setHslField(int VXHsl::*field, int value, int maximum);

    std::uint32_t m_colour = 0;
    VXHsl m_hsl{0, 0, 0};
    std::array<std::uint32_t, kCustomCount> m_custom{};
    int m_selected_custom = -1;
    int m_last_added = -1;
    int m_style = 3; // "HSL - Hue", the first entry of the list
    bool m_panel_controls_slider = true;
    bool m_slider_controls_panel = true;
    VXRectI m_placement{-1, 0, -1, 0};
    std::string m_custom_key;
    std::string m_placement_key;
    std::string m_style_key;
};

} // namespace morvessan
