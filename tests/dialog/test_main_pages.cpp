// The preset page, the customise page and the main dialog against a plug-in with
// a parameter block and a preset library of its own.
#include "dialog/PSMorvessanPluginDialogModel.h"
#include "plugin/StartupLog.h"
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
    PSMorvessanPresetChildModel page(*m_plugin, *m_plugin);
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
    PSMorvessanAdvancedChildModel page(*m_plugin, *m_plugin, *m_plugin);
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
