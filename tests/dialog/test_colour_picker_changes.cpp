// The colour picker model's change bits, its fields' limits, the custom wells'
// right-click selection, and Add Custom's refusal shown through the platform.
#include "dialog/VXColourAxes.h"
#include "dialog/VXPSColourPickerModel.h"

#include "VXLib/VXUTIL/VXPortablePlatform.h"

#include <gtest/gtest.h>

using namespace morvessan;

namespace {

class ColourPickerChanges : public ::testing::Test {
protected:
    void SetUp() override {
        auto platform = std::make_unique<VXPortablePlatform>();
        platform->setSettingsFile("");
        m_platform = platform.get();
        m_previous = vxSetPlatform(std::move(platform));
    }
    void TearDown() override { vxSetPlatform(std::move(m_previous)); }

    VXPortablePlatform* m_platform = nullptr;
    std::unique_ptr<VXPlatform> m_previous;
};

} // namespace

TEST(ColourPickerFields, LimitsOfEachChannel) {
    using C = VXColourChannel;
    for (C channel : {C::Red, C::Green, C::Blue, C::Saturation, C::Luminance}) {
        EXPECT_EQ(channelMaximum(channel), 255);
        EXPECT_EQ(channelDigits(channel), 3);
    }
    EXPECT_EQ(channelMaximum(C::Hue), 359);
    EXPECT_EQ(channelDigits(C::Hue), 3);

    // Three typed digits past the limit are taken as the limit.
    VXPSColourPickerModel model(0);
    EXPECT_EQ(setChannelValue(model, C::Hue, 999), kChangePickerColour);
    EXPECT_EQ(model.hsl().hue, 359);
    setChannelValue(model, C::Blue, 999);
    EXPECT_EQ(model.colour(), 0xFF0000u);
}

TEST(ColourPickerFields, EveryNewColourRedrawsFieldsPanelAndSlider) {
    VXPSColourPickerModel model(0);
    EXPECT_EQ(kChangePickerColour, kChangeFields | kChangePanel | kChangeSlider);
    EXPECT_EQ(model.setColour(0x123456), kChangePickerColour);
    EXPECT_EQ(model.setRed(1), kChangePickerColour);
    EXPECT_EQ(model.setGreen(2), kChangePickerColour);
    EXPECT_EQ(model.setBlue(3), kChangePickerColour);
    EXPECT_EQ(model.setHue(4), kChangePickerColour);
    EXPECT_EQ(model.setSaturation(5), kChangePickerColour);
    EXPECT_EQ(model.setLuminance(6), kChangePickerColour);
}

TEST(ColourPickerFields, StylesAndOptions) {
    VXPSColourPickerModel model(0);
    EXPECT_STREQ(model.styleEntry().name, "HSL - Hue");
    EXPECT_TRUE(model.panelControlsSlider());
    EXPECT_TRUE(model.sliderControlsPanel());
    EXPECT_EQ(model.setStyle(5), kChangePickerStyle | kChangePanel | kChangeSlider);
    EXPECT_STREQ(model.styleEntry().name, "HSL - Luminance");
    EXPECT_EQ(model.setStyle(6), kChangeNothing);
    EXPECT_EQ(model.style(), 5);
    EXPECT_EQ(model.setSliderControlsPanel(false), kChangeNothing);
    EXPECT_FALSE(model.sliderControlsPanel());
    EXPECT_FALSE(model.panelFollowsSlider());
    // Luminance does not offer "Panel controls slider": the slider follows whatever it says.
    model.setPanelControlsSlider(false);
    EXPECT_TRUE(model.sliderFollowsPanel());
}

TEST(ColourPickerFields, RightClickSelectsAWellAndAgainClearsIt) {
    VXPSColourPickerModel model(0);
    EXPECT_EQ(model.toggleCustom(4), kChangeCustomWells);
    EXPECT_EQ(model.selectedCustom(), 4);
    model.toggleCustom(7);
    EXPECT_EQ(model.selectedCustom(), 7);
    model.toggleCustom(7);
    EXPECT_EQ(model.selectedCustom(), -1);
    model.toggleCustom(VXPSColourPickerModel::kCustomCount);
    EXPECT_EQ(model.selectedCustom(), -1);
}

TEST_F(ColourPickerChanges, AddCustomShowsItsRefusal) {
    VXPSColourPickerModel model(0xABCDEF);
    EXPECT_EQ(model.addCustomColour(), kChangeCustomWells);
    EXPECT_EQ(model.customColour(0), 0xABCDEFu);
    EXPECT_TRUE(m_platform->messages().empty());

    for (int i = 0; i < VXPSColourPickerModel::kCustomCount; ++i) {
        model.setCustomColour(i, 0x010101u * i);
    }
    EXPECT_EQ(model.addCustomColour(), kChangeCustomWells);
    ASSERT_EQ(m_platform->messages().size(), 1u);
    const VXPortablePlatform::Message& message = m_platform->messages()[0];
    EXPECT_EQ(message.text, VXPSColourPickerModel::kNoFreeSlotMessage);
    EXPECT_EQ(message.caption, "Colour Picker");
    EXPECT_EQ(message.buttons, VXMessageButtons::Ok);
    EXPECT_EQ(message.icon, VXMessageIcon::Information);
    EXPECT_EQ(model.customColour(0), 0u);
}
