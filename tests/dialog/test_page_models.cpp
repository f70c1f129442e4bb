// The dialog's page models over a fake session alone: a plain parameter block,
// a preset library built here, and the host's services recorded.
#include "VXLib/VXImageWriter.h"
#include "VXLib/VXPalette.h"
#include "dialog/NoiseWeightsGeometry.h"
#include "dialog/PSMorvessanAdvancedChildModel.h"
#include "dialog/PSMorvessanPresetChildModel.h"
#include "fake_dialog_session.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

namespace morvessan::test {

namespace {

TextureFields woodTexture(std::int32_t seed) {
    TextureFields wood;
    wood.type = kWood;
    wood.noiseSeed = seed;
    wood.colourCount = 3;
    wood.colours[2] = 0xFF0000FFu;
    wood.positions[1] = 128;
    wood.positions[2] = 255;
    return wood;
}

} // namespace

class PageModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The clock stands still, so every timing line reads 0 ms.
        m_platform = std::make_unique<TestPlatform>("morvessan-pages-");
        // "Stones": "Default" (empty) and "Woods" (Oak, Pine, Ash); "Second": "Default".
        PresetFile& stones = m_session.m_library.newPresetFile("Stones");
        stones.addCategory("Woods");
        stones.addPreset(woodTexture(11), 1, "Oak");
        stones.addPreset(woodTexture(22), 1, "Pine");
        stones.addPreset(woodTexture(33), 1, "Ash");
        m_session.m_library.newPresetFile("Second");
        m_session.SetCurrentPresetFile(0);
    }

    std::unique_ptr<TestPlatform> m_platform;
    FakeDialogSession m_session;
    FilterParameters& m_block = m_session.m_block;
};

TEST_F(PageModelTest, PresetPageAppliesTheChosenPresetToTheFakeBlock) {
    PSMorvessanPresetChildModel page(m_session, m_session);
    m_block.categoryIndex = 1;
    EXPECT_EQ(page.fill(), kChangeFileList | kChangeCategoryList | kChangePresetList);
    EXPECT_EQ(page.fileNames(), (std::vector<std::string>{"Stones", "Second"}));
    EXPECT_EQ(page.categoryNames(), (std::vector<std::string>{"Default", "Woods"}));
    EXPECT_EQ(page.presetNames(), (std::vector<std::string>{"Oak", "Pine", "Ash"}));

    // Rows past either end apply nothing.
    EXPECT_EQ(page.choosePreset(3), kChangeNothing);
    EXPECT_EQ(page.choosePreset(-1), kChangeNothing);
    EXPECT_EQ(m_session.m_applied, 0);
    EXPECT_EQ(m_block.texture.type, kCloud);

    EXPECT_EQ(page.choosePreset(1), kChangePreview);
    EXPECT_EQ(m_session.m_applied, 1);
    EXPECT_EQ(page.selectedPreset(), 1);
    EXPECT_EQ(m_block.texture.type, kWood);
    EXPECT_EQ(m_block.texture.noiseSeed, 22);
    EXPECT_EQ(m_block.texture.colourCount, 3);
    EXPECT_EQ(m_block.categoryIndex, 1);

    EXPECT_EQ(page.chooseFile(2), kChangeNothing);
    EXPECT_EQ(page.chooseFile(1), kChangeCategoryList | kChangePresetList);
    EXPECT_EQ(m_session.GetCurrentPresetFile(), 1);
    EXPECT_EQ(m_block.categoryIndex, 0);
    EXPECT_TRUE(page.presetNames().empty());
    EXPECT_EQ(page.shown(), kChangeNothing);
    // Another page changing the current file makes this one refill.
    m_session.SetCurrentPresetFile(0);
    EXPECT_EQ(page.shown(), kChangeFileList | kChangeCategoryList | kChangePresetList);
    EXPECT_EQ(page.selectedFile(), 0);
}

TEST_F(PageModelTest, PickersClampTheCurrentFileAndDrawThumbnailsOfTheShownCategory) {
    m_session.SetCurrentPresetFile(7);
    PSMorvessanPresetChildModel page(m_session, m_session);
    m_block.categoryIndex = -4;
    page.fill();
    // The session's index follows the clamp, so both name the same file.
    EXPECT_EQ(page.selectedFile(), 1);
    EXPECT_EQ(m_session.GetCurrentPresetFile(), 1);
    EXPECT_EQ(page.selectedCategory(), 0);

    page.chooseFile(0);
    page.chooseCategory(1);
    VXImage2 image;
    ASSERT_TRUE(image.create(8, 6, 24));
    EXPECT_TRUE(page.renderThumbnail(2, image));
    EXPECT_FALSE(page.renderThumbnail(3, image));
    VXImage2 grey;
    const VXPalette palette = VXPalette::greyPalette();
    ASSERT_TRUE(grey.create(8, 6, 8, &palette));
    EXPECT_FALSE(page.renderThumbnail(0, grey));
    EXPECT_EQ(m_session.m_thumbnails, (std::vector<std::string>{"Ash", "Oak"}));
}

TEST_F(PageModelTest, CustomisePageAppliesPresetsReloadsItsTabsAndLogsThroughTheServices) {
    PSMorvessanAdvancedChildModel page(m_session, m_session, m_session);
    page.beginInit();
    page.subPagesCreated();
    page.endInit();
    page.fill();
    page.chooseCategory(1);
    EXPECT_EQ(m_block.categoryIndex, 0);
    EXPECT_EQ(page.colourPage().stops().count(), 2);

    EXPECT_EQ(page.choosePreset(2) & (kChangePreview | kChangeSubPages), kChangePreview | kChangeSubPages);
    EXPECT_EQ(m_session.m_applied, 1);
    EXPECT_EQ(m_block.texture.noiseSeed, 33);
    EXPECT_EQ(page.colourPage().stops().count(), 3);
    EXPECT_EQ(page.texturePage().seedText(), "33");
    EXPECT_EQ(page.proposedPresetName(), "Preset 1");

    int grids = 0;
    page.updatePresetGrid([&] { ++grids; });
    EXPECT_EQ(grids, 1);
    EXPECT_EQ(m_session.m_log,
              (std::vector<std::string>{"Sub took %dms\n|0", "PSMorvessanAdvancedChild::OnInitDialog took %dms\n|0",
                                        "m_preset_combo.UpdateCategory took %dms\n|0"}));
}

TEST_F(PageModelTest, ColourPageEditsThroughTheFakePickerAndKeepsTheStopsOpacity) {
    m_block.texture.colours[0] = 0x80112233u;
    PSMorvessanAdvancedColourChildModel page(m_session, m_session);

    // Cancelled: the picker saw the colour without its opacity; nothing changes.
    EXPECT_EQ(page.edit(), kChangeNothing);
    EXPECT_EQ(m_session.m_offered, std::vector<std::uint32_t>{0x112233u});
    EXPECT_EQ(m_block.texture.colours[0], 0x80112233u);

    m_session.m_picked = 0xFFABCDEFu;
    EXPECT_EQ(page.edit(), kChangePreview | kChangeStops | kChangeEnabledStates);
    EXPECT_EQ(m_block.texture.colours[0], 0x80ABCDEFu);
    EXPECT_EQ(page.wellColour(), 0xABCDEFu);

    // The picker is offered the selected stop's colour (the default white).
    page.select(1);
    m_session.m_picked = 0x000102u;
    page.edit();
    EXPECT_EQ(m_session.m_offered.back(), 0xFFFFFFu);
    EXPECT_EQ(m_block.texture.colours[1], 0xFF000102u);
}

TEST_F(PageModelTest, SpectrumWeightsAreTheBlocksUsedOctaves) {
    PSMorvessanAdvancedTextureChildModel page(m_session);
    for (int i = 0; i < 12; ++i) {
        m_block.texture.noiseWeights[i] = 1.0 / (i + 1);
    }
    m_block.texture.noiseLevel = 3.9;
    EXPECT_EQ(page.spectrumWeights(), (std::vector<double>{1.0, 0.5, 1.0 / 3}));
    m_block.texture.noiseLevel = 0.5;
    EXPECT_TRUE(page.spectrumWeights().empty());
    m_block.texture.noiseLevel = 40;
    ASSERT_EQ(page.spectrumWeights().size(), 12u);
    EXPECT_EQ(page.spectrumWeights()[11], 1.0 / 12);
    // Dragging a bar shows in the weights the control draws.
    m_block.texture.noiseLevel = 4;
    const PixelRect client{0, 0, 125, 120};
    ASSERT_TRUE(page.pressSpectrum(client, 40, weightMarkerY(client, 0.5)));
    page.dragSpectrum(-500);
    EXPECT_EQ(page.spectrumWeights()[1], 1.0);
    m_session.dropBlock();
    EXPECT_TRUE(page.spectrumWeights().empty());
}

TEST_F(PageModelTest, EffectsPageScansTheSessionsTexturesFolderOnceAndSelectsTheBlocksPicture) {
    const VXPalette grey = VXPalette::greyPalette();
    VXImage2 picture;
    ASSERT_TRUE(picture.create(4, 4, 8, &grey));
    const std::filesystem::path folder = m_platform->folder();
    std::string error;
    for (const char* name : {"A.png", "B.png"}) {
        ASSERT_TRUE(saveImageFile((folder / name).string(), picture, &error)) << error;
    }
    m_session.m_textures_folder = folder.string();
    PSMorvessanAdvancedExtrasChildModel page(m_session, m_session);
    copyToField(m_block.texture.texturePath, kPathSize, (folder / "B.png").string());

    EXPECT_NE(page.shown() & kChangeTextureList, 0u);
    ASSERT_EQ(page.textures().count(), 2);
    EXPECT_EQ(page.textures().caption(1), "B");
    EXPECT_EQ(page.textures().selectedPath(), page.textures().path(1));
    // Shown again: no second scan, so a picture added since is not listed.
    ASSERT_TRUE(saveImageFile((folder / "C.png").string(), picture, &error)) << error;
    EXPECT_EQ(page.shown(), kChangeNothing);
    EXPECT_EQ(page.textures().count(), 2);
}

TEST_F(PageModelTest, PagesWithoutABlockChangeNothing) {
    m_session.dropBlock();
    PSMorvessanAdvancedTextureChildModel texture(m_session);
    EXPECT_EQ(texture.chooseType(3), kChangeNothing);
    EXPECT_EQ(texture.setSeedText("5"), kChangeNothing);
    EXPECT_EQ(texture.randomiseSeed(), kChangeNothing);
    EXPECT_FALSE(texture.pressSpectrum(PixelRect{0, 0, 125, 120}, 40, 10));
    EXPECT_EQ(texture.dragSpectrum(3), kChangeNothing);

    PSMorvessanPresetChildModel presets(m_session, m_session);
    presets.fill();
    EXPECT_EQ(presets.selectedCategory(), 0);
    EXPECT_EQ(presets.chooseCategory(1), kChangePresetList);
    // The preset still goes to the session, which has no block to write.
    EXPECT_EQ(presets.choosePreset(0), kChangePreview);
    EXPECT_EQ(m_session.m_applied, 1);
    EXPECT_EQ(m_block.texture.type, kCloud);

    PSMorvessanAdvancedChildModel customise(m_session, m_session, m_session);
    customise.fill();
    EXPECT_EQ(customise.addPreset([](const std::string& proposal) { return std::optional<std::string>(proposal); }),
              kChangeNothing);
    EXPECT_EQ(m_session.GetPresetFile(0).presetCount(0), 0);
}

TEST_F(PageModelTest, ElementsPageFieldsAndVisibility) {
    PSMorvessanAdvancedTextureChildModel page(m_session);
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

TEST_F(PageModelTest, ColoursPageLimitsAndWritesStops) {
    for (int i = 0; i < kMaxColourStops; ++i) {
        m_block.texture.colours[i] = 0xFF000000u | static_cast<std::uint32_t>(i);
        m_block.texture.positions[i] = i * 30;
    }
    m_block.texture.colourCount = 8;
    PSMorvessanAdvancedColourChildModel page(m_session, m_session);
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

TEST_F(PageModelTest, EffectsPageAmountsAndSwitches) {
    PSMorvessanAdvancedExtrasChildModel page(m_session, m_session);
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

} // namespace morvessan::test
