// Recorded actions: the settings written after every render and read back at
// Start, a replay that renders what was recorded for every shipped preset, silent
// unless the host asks for the dialog, and damaged descriptors falling back to defaults.
#include "HostFixture.h"

#include "VXLib/VXUTIL/VXPath.h"
#include "plugin/PSMorvessanModuleSettings.h"
#include "presets/PresetLibrary.h"
#include "resources/descriptor/DescriptorTerms.h"
#include "texture/SeamlessTile.h"
#include "texture/TextureFieldTable.h"

#include <cstdlib>

using namespace morvessan;
using namespace morvessan::test;

namespace {

std::uint32_t keyOf(std::string_view name) {
    for (const DescriptorTerm& term : descriptorTerms()) {
        if (term.name == name) {
            return term.key;
        }
    }
    ADD_FAILURE() << name;
    return 0;
}

// Every field as "params show" prints it, the block's own too (a silent run names
// the preset file from the folder's listing, so that one only when asked).
std::string fieldsText(const FilterParameters& b, bool withFile = true) {
    std::string text;
    for (const TextureField& field : textureFields()) {
        text += std::string(field.name) + "=" + textureFieldText(b.texture, field) + "\n";
    }
    return text + "presetFile=" + (withFile ? readField(b.presetFile, kPathSize) : "") +
           "\ncategoryIndex=" + std::to_string(b.categoryIndex) + "\nseamless=" + std::to_string(b.seamless) +
           "\nscaleBySource=" + std::to_string(b.scaleBySource) +
           "\noverwriteSource=" + std::to_string(b.overwriteSource) + "\n";
}

FilterParameters defaultBlock() {
    FilterParameters b{};
    writeDefaultParameters(b);
    return b;
}

const DescriptorEntry* entryOf(const std::vector<DescriptorEntry>& entries, std::string_view name) {
    for (const DescriptorEntry& e : entries) {
        if (e.key == keyOf(name)) {
            return &e;
        }
    }
    return nullptr;
}

} // namespace

TEST_F(PluginTest, EveryShippedPresetReplaysAsRecorded) {
    const char* source = std::getenv("MORVESSAN_SOURCE_DIR");
    ASSERT_NE(source, nullptr) << "MORVESSAN_SOURCE_DIR is not set";
    PresetLibrary library;
    library.discoverPresetFilesIn(asFolder((std::filesystem::path(source) / "resources" / "presets").string()),
                                  TextureFields{});
    int presets = 0;
    for (int f = 0; f < library.fileCount(); ++f) {
        const PresetFile& file = library.file(f);
        for (int c = 0; c < file.categoryCount(); ++c) {
            for (int i = 0; i < file.presetCount(c); ++i) {
                const TexturePreset& preset = file.preset(c, i);
                const bool odd = (++presets % 2) != 0;
                const auto recordedBlock = [&](FilterParameters& b) {
                    storePresetInBlock(b, preset);
                    copyToField(b.presetFile, kPathSize, file.name() + ".txt");
                    b.categoryIndex = c;
                    setSeamless(b, odd && seamlessRefusal(b.texture.transformation).empty());
                    b.scaleBySource = odd ? 1 : 0;
                    b.overwriteSource = odd ? 0 : 1;
                };
                FilterHost recording;
                recording.setImage(patternImage(61, 47, 3));
                recording.setPlayInfo(plugInDialogSilent);
                giveBlock(recording, recordedBlock);
                ASSERT_EQ(recording.run(), noErr) << preset.name;
                ASSERT_TRUE(recording.recordedDescriptor()) << preset.name;

                // Replayed on a host whose block holds something else entirely.
                FilterHost replaying;
                replaying.setImage(patternImage(61, 47, 3));
                replaying.setPlayInfo(plugInDialogDontDisplay);
                giveBlock(replaying, [](FilterParameters& b) {
                    b.texture.type = kWood;
                    b.texture.noiseSeed = 4242;
                    b.scaleBySource = 1;
                    setSeamless(b, true);
                });
                replaying.setDescriptor(*recording.recordedDescriptor());
                useDialog([](PSMorvessanPlugin&) { return true; });
                ASSERT_EQ(replaying.run(), noErr) << preset.name;
                EXPECT_EQ(m_dialog_runs, 0) << "a replay runs silently";
                EXPECT_TRUE(replaying.image() == recording.image()) << preset.name;
                EXPECT_EQ(fieldsText(blockOf(replaying)), fieldsText(blockOf(recording))) << preset.name;
                EXPECT_EQ(replaying.recordedDescriptor(), recording.recordedDescriptor()) << preset.name;
            }
        }
    }
    EXPECT_GT(presets, 40);
}

TEST_F(PluginTest, TheDescriptorHoldsEveryFieldByItsTypeAndTheHostMayAskForTheDialog) {
    FilterHost host;
    host.setImage(patternImage(20, 20, 3));
    host.setPlayInfo(plugInDialogSilent);
    giveBlock(host, [](FilterParameters& b) {
        b.texture.noiseSeed = -7; // as stored, not as an editor limits it
        b.texture.totalOpacity = 0.1 + 0.2;
        b.categoryIndex = 3;
    });
    ASSERT_EQ(host.run(), noErr);
    ASSERT_TRUE(host.recordedDescriptor());
    const auto entries = decodeDescriptor(*host.recordedDescriptor());
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->size(), descriptorTerms().size() - 1); // no preset name known in a silent run
    EXPECT_EQ(*entryOf(*entries, "noiseSeed"), integerEntry(keyOf("noiseSeed"), -7));
    EXPECT_EQ(*entryOf(*entries, "totalOpacity"), floatEntry(keyOf("totalOpacity"), 0.1 + 0.2));
    EXPECT_EQ(*entryOf(*entries, "categoryIndex"), integerEntry(keyOf("categoryIndex"), 3));
    EXPECT_EQ(*entryOf(*entries, "seamless"), booleanEntry(keyOf("seamless"), false));
    EXPECT_EQ(*entryOf(*entries, "colours"), textEntry(keyOf("colours"), "#00000000@0,#FFFFFFFF@255"));
    EXPECT_EQ(entryOf(*entries, "presetName"), nullptr);

    // "Display" shows the dialog over the replayed settings; OK records them again, with the name.
    std::vector<DescriptorEntry> named = *entries;
    named.push_back(textEntry(keyOf("presetName"), "Granite"));
    int seenSeed = 0;
    useDialog([&](PSMorvessanPlugin& p) {
        seenSeed = p.GetParameters()->texture.noiseSeed;
        return true;
    });
    FilterHost shown;
    shown.setImage(patternImage(20, 20, 3));
    shown.setPlayInfo(plugInDialogDisplay);
    shown.setDescriptor(encodeDescriptor(named));
    ASSERT_EQ(shown.run(), noErr);
    EXPECT_EQ(m_dialog_runs, 1);
    EXPECT_EQ(seenSeed, -7);
    const auto again = decodeDescriptor(*shown.recordedDescriptor());
    ASSERT_TRUE(again);
    EXPECT_EQ(*entryOf(*again, "presetName"), textEntry(keyOf("presetName"), "Granite"));
}

TEST_F(PluginTest, DamagedDescriptorEntriesTakeTheirDefaults) {
    const FilterParameters defaults = defaultBlock();
    FilterParameters expected = defaults;
    expected.texture.noiseSeed = 99;
    expected.texture.type = kMarble;
    setSeamless(expected, true);

    std::vector<DescriptorEntry> entries{
        integerEntry(keyOf("noiseSeed"), 99),
        integerEntry(keyOf("type"), kMarble),
        booleanEntry(keyOf("seamless"), true),
        textEntry(keyOf("noiseLevel"), "5"),                                       // of another type: default
        textEntry(keyOf("colours"), "#GGGGGG@0"),                                  // text the field refuses: default
        {keyOf("blur"), typeInteger, {1, 2}},                                      // a value cut short: default
        {keyOf("transformation"), typeChar, std::vector<std::uint8_t>(5000, '1')}, // too long: default
        integerEntry(fourCharCode("zzzz"), 5),                                     // not ours: passed over
        floatEntry(keyOf("totalOpacity"), 55.5),
    };
    expected.texture.totalOpacity = 55.5;
    FilterHost host;
    host.setImage(patternImage(24, 16, 3));
    host.setPlayInfo(plugInDialogSilent);
    giveBlock(host, [](FilterParameters& b) {
        b.texture.noiseLevel = 3;
        b.texture.blur = 40;
        b.scaleBySource = 1;
    });
    host.setDescriptor(encodeDescriptor(entries));
    ASSERT_EQ(host.run(), noErr) << host.errorString();
    EXPECT_EQ(fieldsText(blockOf(host), false), fieldsText(expected, false));

    // Bytes that are not a descriptor at all: every field its default, and the run draws.
    for (const std::vector<std::uint8_t>& garbage :
         {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{'M', 'v', 'D', 's', 0xFF, 0xFF, 0xFF, 0x7F},
          std::vector<std::uint8_t>(300, 0xA5)}) {
        FilterHost damaged;
        damaged.setImage(patternImage(24, 16, 3));
        damaged.setPlayInfo(plugInDialogSilent);
        giveBlock(damaged, [](FilterParameters& b) { b.texture.noiseSeed = 1234; });
        damaged.setDescriptor(garbage);
        ASSERT_EQ(damaged.run(), noErr);
        EXPECT_EQ(fieldsText(blockOf(damaged), false), fieldsText(defaults, false));
    }
}

TEST_F(PluginTest, WithoutADescriptorTheBlockStandsAndAHostWithoutTheSuitesRecordsNothing) {
    FilterHost host;
    host.setImage(patternImage(24, 16, 3));
    host.setPlayInfo(plugInDialogSilent);
    giveBlock(host, [](FilterParameters& b) { b.texture.noiseSeed = 321; });
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(blockOf(host).texture.noiseSeed, 321);

    useDialog([](PSMorvessanPlugin&) { return true; }); // such a host always shows the dialog
    FilterHost bare;
    bare.setImage(patternImage(24, 16, 3));
    bare.setPlayInfo(std::nullopt); // no descriptor parameters at all
    giveBlock(bare, [](FilterParameters& b) { b.texture.noiseSeed = 321; });
    ASSERT_EQ(bare.run(), noErr);
    EXPECT_FALSE(bare.recordedDescriptor());
    EXPECT_TRUE(bare.image() == host.image());
}

TEST_F(PluginTest, OkRecordsTheNameOfThePresetTheTextureCameFrom) {
    const std::filesystem::path presets = m_folder / "named library";
    std::filesystem::create_directories(presets);
    TextureFields granite;
    granite.type = kMarble;
    granite.noiseSeed = 808;
    {
        PresetFile file;
        file.setPath((presets / "Stones.txt").string());
        file.addCategory("Plain");
        file.addPreset(TextureFields{}, 0, "Flat");
        file.addCategory("Rock");
        file.addPreset(granite, 1, "Granite");
        ASSERT_TRUE(file.save());
    }
    m_platform->scriptEnvironment(kPresetFolderVariable, presets.string());
    const auto recordedName = [&](const std::function<void(PSMorvessanPlugin&)>& edit) -> std::string {
        useDialog([&](PSMorvessanPlugin& p) {
            edit(p);
            return true;
        });
        FilterHost host;
        host.setImage(patternImage(12, 12, 3));
        host.setPlayInfo(plugInDialogDisplay);
        if (host.run() != noErr) {
            return "(failed)";
        }
        const auto entries = decodeDescriptor(host.recordedDescriptor().value_or(std::vector<std::uint8_t>{}));
        const DescriptorEntry* name = entries ? entryOf(*entries, "presetName") : nullptr;
        return name ? std::string(name->value.begin(), name->value.end()) : "";
    };
    // As the dialog applies it: the preset as the library read it.
    const auto applyGranite = [](PSMorvessanPlugin& p) {
        p.ApplyPreset(p.GetPresetFile(p.GetCurrentPresetFile()).preset(1, 0));
    };
    EXPECT_EQ(recordedName(applyGranite), "Granite");
    // An edit after the preset: the texture is no preset's, so no name.
    EXPECT_EQ(recordedName([&](PSMorvessanPlugin& p) {
                  applyGranite(p);
                  p.GetParameters()->texture.noiseSeed = 809;
              }),
              "");
}
