// The preset page, the customise page and its three sub-pages against a plug-in
// with a parameter block and a preset library of its own.
#include "dialog/PSMorvessanPluginDialogModel.h"
#include "plugin/StartupLog.h"
#include "dialog/NoiseWeightsGeometry.h"
#include "test_main_fixture.h"

#include <cstring>

namespace morvessan::test {

namespace {

TextureFields woodTexture() {
    TextureFields wood;
    wood.type = kWood;
    wood.noiseSeed = 77;
    return wood;
}

} // namespace

class MainPagesTest : public MainModelTest {
protected:
    void SetUp() override {
        MainModelTest::SetUp();
        // Default file: "Default" (one preset), "Empty", "Stones" (three presets).
        file(0).addCategory("Empty");
        file(0).addCategory("Stones");
        for (const char* name : {"Preset 1", "Preset 2", "preset 3"}) {
            file(0).addPreset(woodTexture(), 2, name);
        }
        m_plugin->GetPresetLibrary().newPresetFile("Second");
    }
};

TEST_F(MainPagesTest, PresetPageChoosesFilesCategoriesAndPresets) {
    PSMorvessanPresetChildModel page(*m_plugin);
    m_block.categoryIndex = 99;
    page.fill();
    EXPECT_EQ(page.fileNames(), (std::vector<std::string>{"Default", "Second"}));
    EXPECT_EQ(page.selectedCategory(), 2); // past the end: the last one
    EXPECT_EQ(page.presetNames().size(), 3u);
    EXPECT_EQ(m_block.categoryIndex, 99);

    const FilterParameters before = m_block;
    EXPECT_EQ(page.chooseCategory(1), kChangePresetList);
    EXPECT_TRUE(page.presetNames().empty());
    EXPECT_EQ(page.choosePreset(0), kChangeNothing);
    EXPECT_EQ(m_block.categoryIndex, 1);
    EXPECT_EQ(std::memcmp(&m_block.texture, &before.texture, sizeof before.texture), 0);

    page.chooseCategory(2);
    EXPECT_EQ(page.choosePreset(1), kChangePreview);
    EXPECT_EQ(m_block.texture.type, kWood);
    EXPECT_EQ(m_block.texture.noiseSeed, 77);
    EXPECT_EQ(page.selectedPreset(), 1);

    EXPECT_EQ(page.chooseFile(1), kChangeCategoryList | kChangePresetList);
    EXPECT_EQ(m_plugin->GetCurrentPresetFile(), 1);
    EXPECT_EQ(m_block.categoryIndex, 0);
    EXPECT_EQ(page.categoryNames(), std::vector<std::string>{"Default"});
    EXPECT_EQ(page.shown(), kChangeNothing);
    m_plugin->SetCurrentPresetFile(0);
    EXPECT_NE(page.shown() & kChangeFileList, 0u);
}

TEST_F(MainPagesTest, CustomisePageKeepsItsCategoryAndAddsPresets) {
    PSMorvessanAdvancedChildModel page(*m_plugin);
    page.fill();
    EXPECT_EQ(page.selectedCategory(), 0);
    page.chooseCategory(2);
    EXPECT_EQ(m_block.categoryIndex, 0);
    EXPECT_EQ(page.proposedPresetName(), "Preset 3");

    EXPECT_EQ(page.addPreset([](const std::string&) { return std::nullopt; }), kChangeNothing);
    std::string asked;
    EXPECT_EQ(page.addPreset([&](const std::string& proposal) {
        asked = proposal;
        return std::optional<std::string>(proposal);
    }),
              kChangePresetList);
    EXPECT_EQ(asked, "Preset 3");
    EXPECT_EQ(page.presetNames().back(), "Preset 3");
    EXPECT_TRUE(std::filesystem::exists(m_folder / "Default.txt"));

    // A refill keeps the page's own category, not the block's.
    m_plugin->SetCurrentPresetFile(1);
    page.shown();
    EXPECT_EQ(page.selectedCategory(), 0); // "Second" has only one
    page.chooseFile(0);
    EXPECT_EQ(page.selectedCategory(), 0);

    page.chooseCategory(2);
    m_block.texture.colourCount = 1;
    EXPECT_EQ(page.choosePreset(0) & (kChangePreview | kChangeSubPages), kChangePreview | kChangeSubPages);
    EXPECT_EQ(page.colourPage().stops().count(), 2);

    const std::size_t length = startupLog().Text().size();
    page.updatePresetGrid();
    EXPECT_EQ(startupLog().Text().substr(length), "m_preset_combo.UpdateCategory took 0ms\n");
}

TEST_F(MainPagesTest, ElementsPageFieldsAndVisibility) {
    PSMorvessanAdvancedTextureChildModel page(*m_plugin);
    EXPECT_TRUE(page.turbulenceVisible());
    EXPECT_NE(page.chooseType(3) & kChangeFieldVisibility, 0u);
    EXPECT_EQ(m_block.texture.type, kWood);
    EXPECT_TRUE(page.grainVisible());
    EXPECT_FALSE(page.turbulenceVisible());
    m_block.texture.type = 9;
    EXPECT_EQ(page.typeIndex(), 0);

    page.setSeedText("99999");
    EXPECT_EQ(page.seedText(), "32767");
    EXPECT_EQ(page.setSeedText("32767"), kChangeFields);
    page.setBandsText("0");
    EXPECT_EQ(m_block.texture.noiseLevel, 1.0);
    page.setBandsText("13");
    EXPECT_EQ(page.bandsText(), "12");
    page.setGrainText("7.26");
    EXPECT_EQ(page.grainText(), "7.3");
    page.setGrainText("");
    EXPECT_EQ(m_block.texture.noiseParameter, 1.0);
    // A random seed is never 0, which would draw a new pattern on every render.
    for (int draw = 0; draw < 2000; ++draw) {
        page.randomiseSeed();
        ASSERT_GE(m_block.texture.noiseSeed, 1);
        ASSERT_LE(m_block.texture.noiseSeed, 9999);
    }

    // A bar dragged far above the top stops at weight 1.
    const PixelRect client{0, 0, 125, 120};
    m_block.texture.noiseLevel = 4;
    ASSERT_TRUE(page.pressSpectrum(client, 40, weightMarkerY(client, 0.5)));
    EXPECT_EQ(page.grabbedBar(), 1);
    EXPECT_EQ(page.dragSpectrum(-500), kChangePreview | kChangeSpectrum);
    EXPECT_EQ(m_block.texture.noiseWeights[1], 1.0);
}

TEST_F(MainPagesTest, ColoursPageLimitsAndWritesStops) {
    for (int i = 0; i < kMaxColourStops; ++i) {
        m_block.texture.colours[i] = 0xFF000000u | static_cast<std::uint32_t>(i);
        m_block.texture.positions[i] = i * 30;
    }
    m_block.texture.colourCount = 8;
    PSMorvessanAdvancedColourChildModel page(*m_plugin);
    EXPECT_FALSE(page.canAdd());
    EXPECT_EQ(page.add(), kChangeNothing);
    while (page.canRemove()) {
        page.remove();
    }
    EXPECT_EQ(m_block.texture.colourCount, 1);
    EXPECT_EQ(page.remove(), kChangeNothing);
    EXPECT_TRUE(page.canAdd());

    page.setOpacity(300);
    EXPECT_EQ(m_block.texture.colours[0] >> 24, 255u);
    page.setOpacity(64);
    page.dropperHover(0x123456);
    EXPECT_EQ(page.wellColour(), 0x123456u);
    page.dropperCancel();
    EXPECT_EQ(page.wellColour(), m_block.texture.colours[0] & 0xFFFFFFu);
    page.dropperRelease(0xFFABCDEF);
    EXPECT_EQ(m_block.texture.colours[0], 0x40ABCDEFu);
}

TEST_F(MainPagesTest, EffectsPageAmountsAndSwitches) {
    PSMorvessanAdvancedExtrasChildModel page(*m_plugin);
    EXPECT_FALSE(page.blurSliderEnabled());
    page.setBlurEnabled(true);
    EXPECT_TRUE(page.blurSliderEnabled());
    EXPECT_EQ(page.setAmounts(0, 50, 200), kChangePreview);
    EXPECT_EQ(m_block.texture.blur, 1);
    EXPECT_EQ(m_block.texture.noise, 50);
    EXPECT_EQ(m_block.texture.textureAmount, 100);
    // Nothing to pick from: switching the texture on stores no path.
    std::strcpy(m_block.texture.texturePath, "keep");
    page.setTextureEnabled(true);
    EXPECT_TRUE(page.textureSliderEnabled());
    EXPECT_STREQ(m_block.texture.texturePath, "keep");
}

TEST_F(MainPagesTest, MainDialogStatesPagesAndHelp) {
    PSMorvessanPluginDialogModel dialog(*m_plugin);
    EXPECT_NE(dialog.beginOpening() & kChangeFileList, 0u);
    EXPECT_NE(startupLog().Text().find("Get to OnInitDialog after "), std::string::npos);

    EXPECT_FALSE(dialog.overwriteEnabled());
    dialog.setOverwriteSource(true);
    EXPECT_FALSE(dialog.overwriteEnabled());
    EXPECT_EQ(dialog.setScaleBySource(true), kChangePreview | kChangeEnabledStates);
    EXPECT_TRUE(dialog.overwriteEnabled());

    m_block.texture.totalOpacity = 55.9;
    EXPECT_EQ(dialog.opacitySlider(), 55);
    EXPECT_EQ(dialog.setOpacity(40), kChangePreview);
    EXPECT_EQ(m_block.texture.totalOpacity, 40.0);

    EXPECT_STREQ(dialog.switchCaption(), "Customize    >>");
    dialog.switchPages();
    EXPECT_TRUE(dialog.customiseVisible());
    EXPECT_STREQ(dialog.switchCaption(), "Presets   <<");
    dialog.switchPages();
    EXPECT_STREQ(dialog.switchCaption(), "Customize    >>");

    dialog.help();
    ASSERT_EQ(m_platform->helpRequests().size(), 1u);
    EXPECT_EQ(m_platform->helpRequests()[0], (m_folder / "XMorvessan.chm").string() + "::/Welcome.htm");
    EXPECT_EQ(dialog.controlHelpPath(PSMorvessanHelpPage::Colours),
              (m_folder / "XMorvessan.chm").string() + "::/Text/CustomizeColourDialog.txt");

    dialog.endOpening();
    EXPECT_NE(startupLog().Text().find("PSMorvessanPluginDialog::OnInitDialog took 0ms\n"), std::string::npos);
}

} // namespace morvessan::test
