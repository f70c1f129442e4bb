// Start of the texture filter: set-up, the dialog or the silent path, cancel,
// failures inside the dialog, the startup log, previews and thumbnails.
#include "HostFixture.h"
#include "plugin/PSMorvessanModuleSettings.h"

#include "VXLib/VXImage2.h"
#include "VXLib/VXUTIL/VXPath.h"

#include <cstdlib>
#include <fstream>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

using namespace morvessan;
using namespace morvessan::test;

namespace {

int countOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

} // namespace

TEST_F(PluginTest, CancelGivesUserCancelledAndLeavesTheImage) {
    useDialog([](PSMorvessanPlugin&) { return false; });
    FilterHost host;
    host.setPlayInfo(std::nullopt);
    const HostImage original = patternImage(40, 30, 3);
    host.setImage(original);
    EXPECT_EQ(host.run(), userCanceledErr);
    EXPECT_EQ(m_dialog_runs, 1);
    EXPECT_EQ(host.image(), original);
    EXPECT_FALSE(host.parametersLocked());
    EXPECT_EQ(host.parameterBytes().size(), kFilterParametersSize);
    // The failure gave the host's window its input back.
    EXPECT_EQ(static_cast<ScriptedDialog&>(morvessanPlugin().GetDialogRunner()).enabled, 1);
}

TEST_F(PluginTest, OnlySilentPlaySkipsTheDialog) {
    useDialog([](PSMorvessanPlugin&) { return true; });
    FilterHost host;
    host.setImage(patternImage(20, 20, 3));
    host.setPlayInfo(plugInDialogSilent);
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(m_dialog_runs, 0);
    EXPECT_TRUE(morvessanPlugin().WasSilent());
    for (std::optional<int16> play : {std::optional<int16>(plugInDialogDontDisplay),
                                      std::optional<int16>(plugInDialogDisplay), std::optional<int16>()}) {
        host.setPlayInfo(play);
        ASSERT_EQ(host.run(), noErr);
    }
    EXPECT_EQ(m_dialog_runs, 3);
}

TEST_F(PluginTest, WithoutADialogAnInteractiveRunSaysSo) {
    morvessanPlugin().SetDialogRunner(std::make_unique<PSMorvessanNoDialog>());
    FilterHost host;
    const HostImage original = patternImage(20, 20, 3);
    host.setImage(original);
    host.setPlayInfo(plugInDialogDisplay);
    EXPECT_EQ(host.run(), errReportString);
    EXPECT_NE(host.errorString().find("not available"), std::string::npos);
    EXPECT_EQ(host.image(), original);
    EXPECT_FALSE(host.parametersLocked());
}

TEST_F(PluginTest, FailuresInsideTheDialogEndTheRunQuietlyButFailuresAfterOkReachTheHost) {
    FilterHost host;
    host.setPlayInfo(plugInDialogDisplay);
    const HostImage original = patternImage(20, 300, 3);
    host.setImage(original);
    useDialog([](PSMorvessanPlugin&) -> bool { throw std::runtime_error("handler failed"); });
    EXPECT_EQ(host.run(), noErr);
    EXPECT_EQ(host.image(), original);

    // After OK, an abort is the user's cancel: the host reverts what was drawn.
    useDialog([](PSMorvessanPlugin&) { return true; });
    host.setAbortAfter(1);
    EXPECT_EQ(host.run(), userCanceledErr);

    // A failing advanceState is passed on as it is.
    host.setImage(original);
    host.setAbortAfter(std::nullopt);
    host.setAdvanceStateFailure(2, -5555);
    EXPECT_EQ(host.run(), -5555);
    EXPECT_FALSE(host.parametersLocked());
}

TEST_F(PluginTest, SilentRunsReportRenderFailuresToTheHost) {
    FilterHost host;
    host.setImage(patternImage(20, 300, 3));
    host.setAbortAfter(2);
    EXPECT_EQ(host.run(), userCanceledErr);
    host.setAbortAfter(std::nullopt);
    host.setAdvanceStateFailure(1, -5555);
    EXPECT_EQ(host.run(), -5555);
    EXPECT_FALSE(host.parametersLocked());
}

TEST_F(PluginTest, RunsEndingInCancelOrFailureLeaveNoRectangleSet) {
    const auto empty = [](const Rect& r) { return r.top == 0 && r.left == 0 && r.bottom == 0 && r.right == 0; };
    // The dialog fetched its previews, then the user cancelled.
    useDialog([](PSMorvessanPlugin& plugin) {
        plugin.SetPreviewSize(20, 20);
        return false;
    });
    FilterHost host;
    host.setPlayInfo(std::nullopt);
    host.setImage(patternImage(40, 30, 3));
    host.setMask(HostMask(40, 30, 200));
    EXPECT_EQ(host.run(), userCanceledErr);
    EXPECT_TRUE(empty(host.record().inRect) && empty(host.record().outRect) && empty(host.record().maskRect));

    // A silent render stopped by the host on its third tile.
    FilterHost silent;
    silent.setImage(patternImage(20, 300, 3));
    silent.setAdvanceStateFailure(3, -5555);
    EXPECT_EQ(silent.run(), -5555);
    EXPECT_TRUE(empty(silent.record().inRect) && empty(silent.record().outRect) && empty(silent.record().maskRect));
}

TEST_F(PluginTest, AKeptBlockThatCannotBeLockedIsOutOfMemoryNotACrash) {
    FilterHost host;
    host.setImage(patternImage(20, 20, 3));
    ASSERT_EQ(host.run(), noErr);
    host.setLockFailure(true);
    EXPECT_EQ(host.run(), memFullErr);
}

TEST_F(PluginTest, StartupLogGainsSetupLinesAndShowsBothRunsWithShift) {
    const std::string before = startupLog().Text();
    FilterHost host;
    host.setImage(patternImage(10, 10, 3));
    ASSERT_EQ(host.run(), noErr); // silent: set-up is still timed
    const std::string afterSilent = startupLog().Text().substr(before.size());
    EXPECT_EQ(afterSilent, "Setup took 0ms\n");

    host.setPlayInfo(std::nullopt);
    useDialog([this](PSMorvessanPlugin&) {
        m_platform->advanceClock(25);
        startupLog().FinishStartupTiming();
        startupLog().FinishStartupTiming(); // later idle moments add nothing
        return true;
    });
    ASSERT_EQ(host.run(), noErr);
    EXPECT_TRUE(m_platform->messages().empty()); // no Shift, no message box
    m_platform->setKeyDown(VXKey::Shift, true);
    ASSERT_EQ(host.run(), noErr);
    ASSERT_EQ(m_platform->messages().size(), 1u);
    const std::string& shown = m_platform->messages()[0].text;
    EXPECT_EQ(shown, startupLog().Text());
    EXPECT_EQ(countOf(shown.substr(before.size()), "\nTotal plugin startup time 25ms\n"), 2);
    EXPECT_EQ(countOf(shown.substr(before.size()), "Setup took 0ms\n"), 3);
    EXPECT_EQ(m_platform->messages()[0].buttons, VXMessageButtons::Ok);
}

TEST_F(PluginTest, SetupBuildsTheFolderPathsAndFallbackLibrary) {
    useDialog([](PSMorvessanPlugin&) { return true; }); // the dialog shows the library
    FilterHost host;
    host.setPlayInfo(plugInDialogDisplay);
    host.setImage(patternImage(10, 10, 3));
    ASSERT_EQ(host.run(), noErr);
    PSMorvessanPlugin& plugin = morvessanPlugin();
    EXPECT_EQ(plugin.GetTexturesFolder(), (m_folder / "Morvessan Textures").string() + kPathSeparator);
    EXPECT_EQ(plugin.GetPresetsFolder(), (m_folder / "Morvessan Presets").string() + kPathSeparator);
    EXPECT_FALSE(plugin.IsContextHelpEnabled());
    ASSERT_EQ(plugin.GetPresetFileCount(), 1); // no folder: the in-memory "Default" file
    EXPECT_EQ(plugin.GetPresetFile(0).name(), "Default");
    EXPECT_EQ(std::string(blockOf(host).presetFile), "Default");

    // A name field without its zero gets one, and the current file's name.
    giveBlock(host, [](FilterParameters& b) { std::memset(b.presetFile, 'x', sizeof b.presetFile); });
    ASSERT_EQ(host.run(), noErr);
    const FilterParameters block = blockOf(host);
    EXPECT_EQ(readField(block.presetFile, kPathSize), "Default");
    EXPECT_EQ(block.presetFile[kPathSize - 1], '\0');
    EXPECT_EQ(m_platform->currentCursor(), VXCursorHandle{0}); // the wait cursor gave way to what was showing
}

TEST_F(PluginTest, TheFolderVariablesReplaceTheModulesFoldersAtEveryStart) {
    const std::filesystem::path presets = m_folder / "elsewhere" / "my presets";
    const std::filesystem::path textures = m_folder / "elsewhere" / "my textures";
    std::filesystem::create_directories(presets);
    std::filesystem::create_directories(textures);
    PresetFile file;
    file.setPath((presets / "Zeta Stones.txt").string());
    file.addCategory("Stone");
    file.addPreset(TextureFields{}, file.categoryCount() - 1, "Plain");
    ASSERT_TRUE(file.save());
    m_platform->scriptEnvironment(kPresetFolderVariable, presets.string());
    m_platform->scriptEnvironment(kTextureFolderVariable, textures.string());

    useDialog([](PSMorvessanPlugin&) { return true; }); // the dialog shows the library
    FilterHost host;
    host.setPlayInfo(plugInDialogDisplay);
    host.setImage(patternImage(10, 10, 3));
    ASSERT_EQ(host.run(), noErr);
    PSMorvessanPlugin& plugin = morvessanPlugin();
    EXPECT_EQ(plugin.GetPresetsFolder(), presets.string() + kPathSeparator);
    EXPECT_EQ(plugin.GetTexturesFolder(), textures.string() + kPathSeparator);
    EXPECT_EQ(plugin.GetPresetLibrary().texturesFolder(), textures.string() + kPathSeparator);
    ASSERT_EQ(plugin.GetPresetFileCount(), 1);
    EXPECT_EQ(plugin.GetPresetFile(0).name(), "Zeta Stones");
    EXPECT_EQ(std::string(blockOf(host).presetFile), "Zeta Stones");

    // A folder with a separator at its end is the same folder.
    m_platform->scriptEnvironment(kTextureFolderVariable, textures.string() + kPathSeparator);
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(plugin.GetTexturesFolder(), textures.string() + kPathSeparator);

    // Emptied, each falls back to the module's own folder on the next run.
    m_platform->scriptEnvironment(kPresetFolderVariable, "");
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(plugin.GetPresetsFolder(), (m_folder / "Morvessan Presets").string() + kPathSeparator);
    EXPECT_EQ(plugin.GetTexturesFolder(), textures.string() + kPathSeparator);
    EXPECT_EQ(plugin.GetPresetFile(0).name(), "Default");
    m_platform->scriptEnvironment(kTextureFolderVariable, "");
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(plugin.GetTexturesFolder(), (m_folder / "Morvessan Textures").string() + kPathSeparator);
}

TEST_F(PluginTest, OutputProxyAtOneToOneEqualsTheHostRender) {
    FilterHost host;
    host.setPlayInfo(std::nullopt);
    host.setImage(patternImage(300, 300, 3));
    giveBlock(host, [](FilterParameters& b) {
        b.texture.type = kMarble;
        b.texture.blurEnabled = 1;
        b.texture.blur = 20;
        b.texture.colourCount = 3;
        b.texture.colours[1] = 0x80206080u;
        b.texture.positions[1] = 100;
        b.texture.colours[2] = 0xFFFFE0C0u;
        b.texture.positions[2] = 255;
    });
    std::vector<std::uint8_t> proxy;
    useDialog([&](PSMorvessanPlugin& plugin) {
        plugin.SetPreviewSize(100, 80);
        while (plugin.CanZoomIn() && plugin.GetZoom() > 1) {
            plugin.ZoomIn();
        }
        EXPECT_EQ(plugin.GetZoom(), 1);
        plugin.SetPreviewRect({128, 128, 0, 0}); // a tile's corner: the same coordinates as the host's
        VXImage2* out = plugin.GetOutputImage();
        EXPECT_NE(out, nullptr);
        if (!out) {
            return false;
        }
        for (int y = 0; y < out->height(); ++y) {
            proxy.insert(proxy.end(), out->row(y), out->row(y) + 3 * out->width());
        }
        return true;
    });
    ASSERT_EQ(host.run(), noErr);
    ASSERT_EQ(proxy.size(), 100u * 80u * 3u);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 100; ++x) {
            const std::uint8_t* p = host.image().pixel(128 + x, 128 + y);
            const std::uint8_t* q = proxy.data() + (y * 100 + x) * 3;
            ASSERT_EQ(p[0], q[2]) << x << "," << y;
            ASSERT_EQ(p[1], q[1]);
            ASSERT_EQ(p[2], q[0]);
        }
    }
}

TEST_F(PluginTest, ScrollingThePreviewGivesTheSameOutputAsARebuild) {
    FilterHost host;
    host.setPlayInfo(std::nullopt);
    host.setImage(patternImage(400, 300, 3));
    host.setMask(HostMask(400, 300, 200));
    giveBlock(host, [](FilterParameters& b) {
        b.texture.noiseEnabled = 1;
        b.texture.blurEnabled = 1;
    });
    useDialog([](PSMorvessanPlugin& plugin) {
        plugin.SetPreviewSize(100, 100);
        plugin.ZoomIn();
        plugin.ScrollPreview(17, 9);
        const auto bytes = [](VXImage2* image) {
            std::vector<std::uint8_t> b;
            for (int y = 0; image && y < image->height(); ++y) {
                b.insert(b.end(), image->row(y), image->row(y) + image->width() * image->bitCount() / 8);
            }
            return b;
        };
        const auto output = bytes(plugin.GetOutputImage());
        const auto shaded = bytes(plugin.GetDisplayImage());
        plugin.SetPreviewRect(plugin.GetPreviewRect());
        EXPECT_FALSE(output.empty());
        EXPECT_EQ(output, bytes(plugin.GetOutputImage()));
        EXPECT_EQ(shaded, bytes(plugin.GetDisplayImage()));
        return false;
    });
    EXPECT_EQ(host.run(), userCanceledErr);
}

TEST_F(PluginTest, ThumbnailsShowThePresetOverACheckerboard) {
    FilterHost host;
    host.setImage(patternImage(200, 100, 3));
    ASSERT_EQ(host.run(), noErr);
    PSMorvessanPlugin& plugin = morvessanPlugin();
    const std::vector<std::uint8_t> blockBefore = host.parameterBytes();

    TexturePreset clear;
    clear.colourCount = 1;
    clear.colours[0] = 0x00FFFFFFu;
    VXImage2 image;
    ASSERT_TRUE(image.create(35, 25, 24));
    ASSERT_TRUE(plugin.RenderPresetThumbnail(clear, image));
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 35; ++x) {
            const std::uint8_t grey = (y / 10 + x / 10) % 2 == 0 ? 192 : 255;
            ASSERT_EQ(image.row(y)[3 * x], grey);
            ASSERT_EQ(image.row(y)[3 * x + 2], grey);
        }
    }
    // An opaque one-colour preset covers it, in screen order (blue first).
    TexturePreset solid;
    solid.colourCount = 1;
    solid.colours[0] = 0xFF0080FFu;
    ASSERT_TRUE(plugin.RenderPresetThumbnail(solid, image));
    EXPECT_EQ(image.row(13)[3 * 20 + 0], 0x00);
    EXPECT_EQ(image.row(13)[3 * 20 + 1], 0x80);
    EXPECT_EQ(image.row(13)[3 * 20 + 2], 0xFF);

    VXImage2 deep;
    ASSERT_TRUE(deep.create(4, 4, 32));
    EXPECT_FALSE(plugin.RenderPresetThumbnail(solid, deep));
    EXPECT_EQ(host.parameterBytes(), blockBefore); // the block is not touched
}

TEST_F(PluginTest, ApplyPresetCopiesTheTextureIntoTheBlock) {
    TexturePreset wood;
    wood.name = "Oak";
    wood.type = kWood;
    wood.noiseParameter = 23.5;
    wood.colourCount = 3;
    FilterHost host;
    host.setImage(patternImage(10, 10, 3));
    host.setPlayInfo(std::nullopt);
    useDialog([&](PSMorvessanPlugin& plugin) {
        plugin.ApplyPreset(wood);
        return true;
    });
    ASSERT_EQ(host.run(), noErr);
    const FilterParameters block = blockOf(host);
    EXPECT_EQ(block.texture.type, kWood);
    EXPECT_EQ(block.texture.noiseParameter, 23.5);
    EXPECT_EQ(block.texture.colourCount, 3);
    EXPECT_EQ(block.scaleBySource, 0);
}

TEST(PSMorvessanPluginAlone, DefaultsNeedABlock) {
    PSMorvessanPlugin plugin;
    plugin.SetParameterBlock(nullptr);
    try {
        plugin.InitialiseParameters();
        FAIL() << "no exception";
    } catch (const VXPSMessage& message) {
        EXPECT_EQ(message.text, "Parameters not set");
    }
    EXPECT_EQ(plugin.GetParameterSize(), 832);
    EXPECT_EQ(plugin.GetPanCursor().resourceId, 9005);
}

TEST_F(PluginTest, ATexturePictureThatCannotBeReadIsNamedBeforeTheDialogButBatchesDrawWithoutIt) {
    const std::string notAPicture = (m_folder / "notes.png").string();
    std::ofstream(notAPicture) << "not a picture";
    const auto withPicture = [&](const std::string& path) {
        return [path](FilterParameters& b) {
            b.texture.textureEnabled = 1;
            copyToField(b.texture.texturePath, kPathSize, path);
        };
    };
    int opened = 0;
    useDialog([&](PSMorvessanPlugin&) {
        ++opened;
        return true;
    });
    for (const std::string& path : {notAPicture, (m_folder / "missing.png").string()}) {
        FilterHost host;
        host.setPlayInfo(plugInDialogDisplay);
        host.setImage(patternImage(20, 20, 3));
        giveBlock(host, withPicture(path));
        m_platform->clearMessages();
        EXPECT_EQ(host.run(), noErr);
        ASSERT_EQ(m_platform->messages().size(), 1u) << path;
        EXPECT_NE(m_platform->messages()[0].text.find("\"" + path + "\" cannot be read"), std::string::npos);
        EXPECT_EQ(m_platform->messages()[0].icon, VXMessageIcon::Warning);

        // Nobody watches a batch: it draws without the picture, as before.
        FilterHost batch;
        batch.setImage(patternImage(20, 20, 3));
        giveBlock(batch, withPicture(path));
        m_platform->clearMessages();
        EXPECT_EQ(batch.run(), noErr);
        EXPECT_TRUE(m_platform->messages().empty());
    }
    EXPECT_EQ(opened, 2);

    // A picture that reads says nothing.
    const std::string source = std::getenv("MORVESSAN_SOURCE_DIR") ? std::getenv("MORVESSAN_SOURCE_DIR") : "";
    FilterHost host;
    host.setPlayInfo(plugInDialogDisplay);
    host.setImage(patternImage(20, 20, 3));
    giveBlock(host, withPicture(source + "/docs/help/images/main-colours.png"));
    m_platform->clearMessages();
    EXPECT_EQ(host.run(), noErr);
    EXPECT_TRUE(m_platform->messages().empty());
}

// A silent run renders the block it is given: the library, however large, is not
// read; the block's preset file is named from the folder's listing.
TEST_F(PluginTest, ASilentRunReadsNoPresetFile) {
    const std::filesystem::path presets = m_folder / "large library";
    std::filesystem::create_directories(presets);
    for (const char* name : {"Alpha", "Beta", "Gamma"}) {
        PresetFile file;
        file.setPath((presets / (std::string(name) + ".txt")).string());
        file.addCategory("Stone");
        file.addPreset(TextureFields{}, file.categoryCount() - 1, "Plain");
        ASSERT_TRUE(file.save());
    }
    m_platform->scriptEnvironment(kPresetFolderVariable, presets.string());
    PSMorvessanPlugin& plugin = morvessanPlugin();
    plugin.GetPresetLibrary().discoverPresetFilesIn((m_folder / "nothing here").string(), TextureFields{});
    ASSERT_EQ(plugin.GetPresetFileCount(), 1); // the made-up default

    FilterHost host;
    host.setImage(patternImage(10, 10, 3));
    giveBlock(host, [](FilterParameters& block) { copyToField(block.presetFile, kPathSize, "Gamma"); });
    host.setPlayInfo(plugInDialogSilent);
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(plugin.GetPresetFileCount(), 1);
    // The block's own file when the folder holds it, else the first, as before.
    EXPECT_EQ(readField(blockOf(host).presetFile, kPathSize), "Gamma");
    giveBlock(host, [](FilterParameters& block) { copyToField(block.presetFile, kPathSize, "Gone"); });
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(readField(blockOf(host).presetFile, kPathSize), "Alpha");
    EXPECT_EQ(plugin.GetPresetFileCount(), 1);

    // The dialog shows the library.
    useDialog([](PSMorvessanPlugin&) { return true; });
    host.setPlayInfo(plugInDialogDisplay);
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(plugin.GetPresetFileCount(), 3);
}

// Entries that are no preset file to read are left out when the dialog reads the
// library, and the startup log says which and why.
TEST_F(PluginTest, ThingsInThePresetsFolderThatAreNoFileToReadAreSkippedWithANote) {
    const std::filesystem::path presets = m_folder / "odd library";
    std::filesystem::create_directories(presets / "Folder.txt");
    {
        PresetFile file;
        file.setPath((presets / "Stones.txt").string());
        file.addCategory("Stone");
        file.addPreset(TextureFields{}, file.categoryCount() - 1, "Plain");
        ASSERT_TRUE(file.save());
    }
    std::ofstream(presets / "Huge.txt").flush();
    std::filesystem::resize_file(presets / "Huge.txt", (std::uintmax_t(64) << 20) + 1); // sparse where it can be
#if !defined(_WIN32)
    ASSERT_EQ(::mkfifo((presets / "Pipe.txt").c_str(), 0600), 0);
    std::filesystem::create_symlink(presets / "Loop.txt", presets / "Loop.txt");
#endif
    m_platform->scriptEnvironment(kPresetFolderVariable, presets.string());
    useDialog([](PSMorvessanPlugin&) { return true; });
    FilterHost host;
    host.setPlayInfo(plugInDialogDisplay);
    host.setImage(patternImage(10, 10, 3));
    ASSERT_EQ(host.run(), noErr);
    PSMorvessanPlugin& plugin = morvessanPlugin();
    ASSERT_EQ(plugin.GetPresetFileCount(), 1);
    EXPECT_EQ(plugin.GetPresetFile(0).name(), "Stones");
    const std::string log = startupLog().Text();
    EXPECT_NE(log.find("Skipped: "), std::string::npos) << log;
    EXPECT_NE(log.find("Huge"), std::string::npos) << log;
#if !defined(_WIN32)
    EXPECT_NE(log.find("Pipe"), std::string::npos) << log;
#endif
}
