// Colour picker model: styles, basic colours, HSL round trips, fields kept in step,
// Add Custom's slot rule and message, and settings read and written as 4-byte values.
#include "dialog/VXPSColourPickerModel.h"

#include "VXLib/VXUTIL/VXPortablePlatform.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace morvessan;

namespace {

const std::string kKey = std::string("Software\\") + VXPSColourPickerModel::kDefaultKey;

std::vector<std::uint8_t> le(std::uint32_t v) {
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

class ColourPickerSettings : public ::testing::Test {
protected:
    void SetUp() override {
        auto platform = std::make_unique<VXPortablePlatform>();
        platform->setSettingsFile(""); // in memory only
        m_platform = platform.get();
        m_previous = vxSetPlatform(std::move(platform));
    }
    void TearDown() override { vxSetPlatform(std::move(m_previous)); }

    VXPSColourPickerModel loaded() const {
        VXPSColourPickerModel model(0x123456);
        const std::string key = VXPSColourPickerModel::kDefaultKey;
        model.setKeys(key, key, key);
        model.load();
        return model;
    }

    VXPortablePlatform* m_platform = nullptr;
    std::unique_ptr<VXPlatform> m_previous;
};

} // namespace

TEST(ColourPicker, StylesAndColours) {
    const auto& styles = colourStyles();
    EXPECT_STREQ(styles[0].name, "HSL - Hue");
    EXPECT_STREQ(styles[5].name, "RGB - Blue");
    EXPECT_EQ(styleListIndex(3), 0);
    EXPECT_EQ(styleListIndex(0), 3);
    EXPECT_EQ(styleListIndex(6), -1);
    EXPECT_TRUE(styles[0].panelControlsSlider && !styles[0].sliderControlsPanel); // hue
    EXPECT_TRUE(!styles[1].panelControlsSlider && styles[1].sliderControlsPanel); // luminance
    EXPECT_TRUE(styles[4].panelControlsSlider && styles[4].sliderControlsPanel);  // green

    const std::uint32_t greys[7] = {0x000000, 0x2A2A2A, 0x555555, 0x7F7F7F, 0xAAAAAA, 0xD4D4D4, 0xFFFFFF};
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(basicColour(column), greys[column]) << column;
    }
    EXPECT_EQ(basicColour(8), 0x000080u);  // red at luminance 64
    EXPECT_EQ(basicColour(27), 0xC1FFC1u); // green at luminance 224

    for (std::uint32_t v = 0; v < 256; ++v) {
        const std::uint32_t grey = v * 0x010101u;
        EXPECT_EQ(rgbToHsl(grey).saturation, 0);
        EXPECT_EQ(hslToRgb(rgbToHsl(grey)), grey);
    }
    for (std::uint32_t c : {0x0000FFu, 0x00FF00u, 0xFF0000u, 0x00FFFFu, 0xFFFF00u, 0xFF00FFu, 0x000080u}) {
        const std::uint32_t back = hslToRgb(rgbToHsl(c));
        for (int shift : {0, 8, 16}) {
            EXPECT_LE(std::abs(int((back >> shift) & 255) - int((c >> shift) & 255)), 1) << std::hex << c;
        }
    }
    EXPECT_EQ(rgbToHsl(0xFF0000u), (VXHsl{240, 255, 128}));
}

TEST(ColourPicker, FieldsInStep) {
    VXPSColourPickerModel model(0);
    model.setRed(300);
    EXPECT_EQ(model.colour(), 0x0000FFu);
    EXPECT_EQ(model.hsl(), (VXHsl{0, 255, 128}));
    model.setLuminance(0);
    EXPECT_EQ(model.colour(), 0u);
    model.setHue(120); // black keeps the hue being typed
    EXPECT_EQ(model.hsl(), (VXHsl{120, 255, 0}));
    model.setLuminance(128);
    EXPECT_EQ(model.colour(), 0x01FF01u);
    model.setSaturation(-5);
    EXPECT_EQ(model.colour(), 0x808080u);
    EXPECT_EQ(model.hsl().hue, 120);
    model.setBlue(0x40);
    EXPECT_EQ(model.colour(), 0x408080u);
    EXPECT_EQ(model.hsl(), rgbToHsl(0x408080u));
}

TEST_F(ColourPickerSettings, EmptySettingsAndAddCustom) {
    VXPSColourPickerModel model = loaded();
    EXPECT_FALSE(model.hasPlacement());
    EXPECT_EQ(model.placement().left + model.placement().right, -2);
    EXPECT_EQ(model.style(), 3);
    for (int i = 0; i < VXPSColourPickerModel::kCustomCount; ++i) {
        EXPECT_EQ(model.customColour(i), 0xFFFFFFu);
    }
    EXPECT_EQ(model.addCustom(), "");
    EXPECT_EQ(model.lastAddedCustom(), 0);
    EXPECT_EQ(model.customColour(0), 0x123456u);

    for (int i = 0; i < VXPSColourPickerModel::kCustomCount; ++i) {
        model.setCustomColour(i, 0x010203u * i);
    }
    model.setColour(0xABCDEF);
    EXPECT_EQ(model.addCustom(),
              "There was no unused (i.e. white) custom colour slot found.\nRight click on the custom "
              "colour you wish to overwrite and then click 'Add Custom' again");
    EXPECT_EQ(model.lastAddedCustom(), -1);
    for (int i = 0; i < VXPSColourPickerModel::kCustomCount; ++i) {
        EXPECT_EQ(model.customColour(i), 0x010203u * i);
    }
    model.selectCustom(5); // a selected well is overwritten even when white ones exist
    model.setCustomColour(9, 0xFFFFFF);
    EXPECT_EQ(model.addCustom(), "");
    EXPECT_EQ(model.customColour(5), 0xABCDEFu);
    EXPECT_EQ(model.customColour(9), 0xFFFFFFu);
}

TEST_F(ColourPickerSettings, ReadAndWrite) {
    m_platform->writeSetting(kKey, "CustomColour0", le(0x00112233));
    m_platform->writeSetting(kKey, "CustomColour1", {1, 2, 3});          // not a 4-byte value
    m_platform->writeSetting(kKey, "CustomColour2", {1, 2, 3, 4, 5, 6}); // nor this
    m_platform->writeSetting(kKey, "WindowLeft", le(10));
    m_platform->writeSetting(kKey, "WindowTop", le(20));
    m_platform->writeSetting(kKey, "WindowBottom", le(200));
    m_platform->writeSetting(kKey, "ColorStyle", le(9)); // no such style
    VXPSColourPickerModel model = loaded();
    EXPECT_EQ(model.customColour(0), 0x112233u);
    EXPECT_EQ(model.customColour(1), 0xFFFFFFu);
    EXPECT_EQ(model.customColour(2), 0xFFFFFFu);
    EXPECT_FALSE(model.hasPlacement()); // "WindowRight" missing
    EXPECT_EQ(model.style(), 3);

    model.setCustomColour(20, 0x445566);
    model.setStyle(1);
    model.save({-1200, -30, -400, 570}); // a monitor left of and above the primary one
    EXPECT_EQ(m_platform->readSetting(kKey, "CustomColour20"), le(0x445566));
    EXPECT_EQ(m_platform->readSetting(kKey, "WindowLeft"), le(std::uint32_t(-1200)));
    const VXPSColourPickerModel again = loaded();
    EXPECT_TRUE(again.hasPlacement());
    EXPECT_EQ(again.placement(), (VXRectI{-1200, -30, -400, 570}));
    EXPECT_EQ(again.style(), 1);
    for (int i = 0; i < VXPSColourPickerModel::kCustomCount; ++i) {
        EXPECT_EQ(again.customColour(i), model.customColour(i)) << i;
    }

    // A picker without key names neither reads nor writes.
    VXPSColourPickerModel keyless(0);
    keyless.load();
    EXPECT_EQ(keyless.customColour(0), 0xFFFFFFu);
    keyless.setStyle(2);
    keyless.save({1, 2, 3, 4});
    EXPECT_EQ(m_platform->readSetting(kKey, "ColorStyle"), le(1));
}
