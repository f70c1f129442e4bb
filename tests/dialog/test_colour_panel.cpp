// The colour picker's panel and slider: the colours of their pictures, the marker,
// picking by pointer and arrow keys, and which half a pick redraws.
#include "dialog/VXColourPanelModel.h"

#include <gtest/gtest.h>

using namespace morvessan;

namespace {

VXPSColourPickerModel pickerWithStyle(std::uint32_t colour, int style) {
    VXPSColourPickerModel picker(colour);
    picker.setStyle(style);
    return picker;
}

} // namespace

TEST(ColourPanel, RgbPanelPicksBothChannelsAtOnceWithinThePicture) {
    VXPSColourPickerModel picker = pickerWithStyle(0x000011, 0); // red slider, blue across, green up
    VXColourPanelModel panel(picker, false);
    const VXSizeI size{101, 51};
    panel.pick(50, 0, size); // halfway across, top row
    EXPECT_EQ(picker.colour(), 0x7FFF11u);
    panel.pick(-7, 200, size); // left of and below the picture
    EXPECT_EQ(picker.colour(), 0x000011u);
    panel.pick(500, -3, size); // right of and above it
    EXPECT_EQ(picker.colour(), 0xFFFF11u);
}

TEST(ColourPanel, HslPanelKeepsTheFieldsAsPicked) {
    // Saturation slider, hue across, luminance up: a grey keeps the hue picked for it.
    VXPSColourPickerModel picker = pickerWithStyle(0x808080, 4);
    VXColourPanelModel panel(picker, false);
    panel.pick(60, 127, VXSizeI{361, 256});
    EXPECT_EQ(picker.hsl(), (VXHsl{59, 0, 128}));
    EXPECT_EQ(picker.colour(), 0x808080u);
}

TEST(ColourPanel, SliderPicksItsChannelByRowOnly) {
    VXPSColourPickerModel picker = pickerWithStyle(0x0000FF, 3); // hue slider
    VXColourPanelModel slider(picker, true);
    const VXSizeI size{20, 181};
    slider.pick(5, 0, size);
    EXPECT_EQ(picker.hsl().hue, 359);
    slider.pick(-50, 90, size);
    EXPECT_EQ(picker.hsl().hue, 179);
    slider.pick(5, 1000, size);
    EXPECT_EQ(picker.hsl().hue, 0);
}

TEST(ColourPanel, ArrowKeysStepOneAndStopAtTheLimits) {
    VXPSColourPickerModel picker = pickerWithStyle(0x000000, 0);
    VXColourPanelModel panel(picker, false);
    panel.step(1, 0);
    EXPECT_EQ(picker.colour(), 0x010000u); // blue across
    panel.step(0, 1);
    EXPECT_EQ(picker.colour(), 0x010100u); // green up
    panel.step(-2, -2);
    EXPECT_EQ(picker.colour(), 0x000000u);

    picker.setStyle(3);
    picker.setHue(358);
    VXColourPanelModel slider(picker, true);
    slider.step(1, 1); // the slider takes both directions together
    EXPECT_EQ(picker.hsl().hue, 359);
    slider.step(0, -1);
    EXPECT_EQ(picker.hsl().hue, 358);
}

TEST(ColourPanel, PicturesSpreadTheirChannelsFromCornerToCorner) {
    VXPSColourPickerModel picker = pickerWithStyle(0x336699, 0); // red 0x99, green 0x66, blue 0x33
    const VXColourPanelModel panel(picker, false);
    const std::vector<std::uint32_t> panelColours = {0x00FF99, 0x7FFF99, 0xFFFF99, 0x000099, 0x7F0099, 0xFF0099};
    EXPECT_EQ(panel.picture(VXSizeI{3, 2}), panelColours);
    EXPECT_EQ(panel.picture(VXSizeI{1, 1}), std::vector<std::uint32_t>{0x000099});
    EXPECT_TRUE(panel.picture(VXSizeI{0, 4}).empty());

    const VXColourPanelModel slider(picker, true);
    const std::vector<std::uint32_t> sliderColours = {0x3366FF, 0x3366FF, 0x33667F, 0x33667F, 0x336600, 0x336600};
    EXPECT_EQ(slider.picture(VXSizeI{2, 3}), sliderColours);
}

TEST(ColourPanel, MarkerSitsAtTheCurrentValues) {
    VXPSColourPickerModel picker = pickerWithStyle(0x7FFF00, 0); // blue 127, green 255, red 0
    EXPECT_EQ(VXColourPanelModel(picker, false).marker(VXSizeI{101, 51}), (VXColourPanelModel::Point{49, 0}));
    EXPECT_EQ(VXColourPanelModel(picker, true).marker(VXSizeI{101, 51}), (VXColourPanelModel::Point{0, 50}));
    picker.setStyle(3);
    picker.setHue(359);
    EXPECT_EQ(VXColourPanelModel(picker, true).marker(VXSizeI{10, 181}), (VXColourPanelModel::Point{0, 0}));
}

TEST(ColourPanel, APickRedrawsTheOtherHalfWhenItsOptionIsOnOrNotOffered) {
    // "HSL - Hue" offers "Panel controls slider" only.
    VXPSColourPickerModel picker = pickerWithStyle(0x204060, 3);
    VXColourPanelModel panel(picker, false);
    VXColourPanelModel slider(picker, true);
    const VXSizeI size{64, 64};
    EXPECT_EQ(panel.pick(10, 10, size), kChangeFields | kChangePanelMarker | kChangeSlider);
    EXPECT_EQ(picker.setPanelControlsSlider(false), kChangeNothing);
    EXPECT_EQ(panel.pick(10, 10, size), kChangeFields | kChangePanelMarker | kChangeSliderMarker);
    EXPECT_EQ(panel.step(1, 0), kChangeFields | kChangePanelMarker | kChangeSliderMarker);
    picker.setSliderControlsPanel(false); // not offered by this style: the panel follows anyway
    EXPECT_EQ(slider.pick(0, 10, size), kChangeFields | kChangeSliderMarker | kChangePanel);

    // "HSL - Luminance" offers "Slider controls panel" only.
    picker.setStyle(5);
    EXPECT_EQ(panel.pick(10, 10, size), kChangeFields | kChangePanelMarker | kChangeSlider);
    EXPECT_EQ(slider.step(0, 1), kChangeFields | kChangeSliderMarker | kChangePanelMarker);
    picker.setSliderControlsPanel(true);
    EXPECT_EQ(slider.step(0, 1), kChangeFields | kChangeSliderMarker | kChangePanel);
}
