// Preset files kept safe from other writers, cut-short copies, planted links and
// texture names that point outside the textures folder.
#include "PresetTestSupport.h"

#include "presets/PresetFile.h"
#include "presets/PresetLibrary.h"
#include "presets/PresetManagement.h"
#include "presets/PresetText.h"
#include "VXLib/VXUTIL/VXFileLock.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace morvessan;
using morvessan::testing::categoryText;

namespace {

class SavingSafely : public morvessan::testing::PresetFolderTest {};

std::string shippedEssentials() {
    const char* source = std::getenv("MORVESSAN_SOURCE_DIR");
    std::ifstream in(std::string(source != nullptr ? source : ".") + "/resources/presets/Essentials.txt",
                     std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool readsWhole(const std::string& text) {
    PresetReadStop stop;
    readPresetText(text, "", &stop);
    return stop.whole();
}

} // namespace

TEST(PresetCutShort, OnlyCutsWhereAPresetOrHeadingEndsReadWhole) {
    const std::string text = shippedEssentials();
    ASSERT_GT(text.size(), 1000u);
    ASSERT_TRUE(readsWhole(text));
    std::size_t whole = 0;
    for (std::size_t cut = 1; cut < text.size(); ++cut) {
        const std::string part = text.substr(0, cut);
        if (!readsWhole(part)) {
            continue;
        }
        ++whole;
        // The last line is complete and is the last line of a preset or a heading.
        ASSERT_EQ(part.back(), '\n') << cut;
        const std::size_t start = part.rfind('\n', part.size() - 2) + 1;
        const std::string last = part.substr(start);
        // A first preset of its seven mandatory lines alone cannot be told from one
        // written so; every other cut inside a preset is seen.
        const bool firstMandatory = part.find("Preset ", part.find("Preset ") + 1) == std::string::npos &&
                                    last.rfind("Transformation: ", 0) == 0;
        EXPECT_TRUE(last.rfind("Noise: ", 0) == 0 || last.rfind("Category ", 0) == 0 || firstMandatory)
            << cut << ": " << last;
    }
    // After each of sixteen presets and four headings (the first only with a
    // preset after it), and the one cut above.
    EXPECT_EQ(whole, 16u + 3u + 1u);

    PresetReadStop stop;
    readPresetText(text.substr(0, 227), "", &stop);
    EXPECT_EQ(stop.describe(),
              "line 8: expected a line end after the last line (the file seems cut short), found "
              "\"Transformation: 1.4, 0, 0, 0, 1.4, 0, 0, 0, 1\"");
    // The last preset lacking its last two lines, as the one before has them.
    const std::size_t second = text.find("Preset 'Storm Front'");
    const std::size_t texture = text.find("Texture:", second);
    readPresetText(text.substr(0, texture), "", &stop);
    EXPECT_EQ(stop.describe(),
              "line 24: expected line 11 of preset 'Storm Front' (the file seems cut short), found the "
              "end of the file");
    // Hand-written files of short presets, and blank lines at the end, stay whole.
    EXPECT_TRUE(readsWhole(categoryText("A", {"a1", "a2"}) + "\r\n  \r\n"));
    EXPECT_FALSE(readsWhole(categoryText("A", {"a1", "a2"}) + "Category 'B"));
    EXPECT_FALSE(
        readsWhole("\xEF\xBB\xBF"
                   "Category 'B'"));
    EXPECT_TRUE(readsWhole(""));
}

TEST_F(SavingSafely, AFileChangedByAnotherProgramIsNeverSavedOver) {
    write("Stone.txt", categoryText("A", {"a1"}));
    PresetFile file;
    file.setPath(pathOf("Stone.txt"));
    ASSERT_TRUE(file.load());
    // Another program rewrites the file (same size, too) while it is open here.
    const std::string theirs = categoryText("A", {"b1"});
    write("Stone.txt", theirs);
    file.addPreset(file.preset(0, 0), 0, "mine");
    EXPECT_FALSE(file.save());
    EXPECT_TRUE(file.changedOnDisk());
    EXPECT_NE(file.saveError().find("changed by another program"), std::string::npos) << file.saveError();
    EXPECT_EQ(read("Stone.txt"), theirs);
    EXPECT_FALSE(exists("Stone.bak"));
    ASSERT_FALSE(messages().empty());

    // Read again, the change goes through; a second save follows its own first one.
    PresetFile again;
    again.setPath(pathOf("Stone.txt"));
    ASSERT_TRUE(again.load());
    again.addPreset(again.preset(0, 0), 0, "mine");
    ASSERT_TRUE(again.save()) << again.saveError();
    again.addPreset(again.preset(0, 0), 0, "more");
    ASSERT_TRUE(again.save()) << again.saveError();
    EXPECT_EQ(read("Stone.bak"), theirs);
    EXPECT_FALSE(again.changedOnDisk());

    // A file removed meanwhile is not brought back behind the remover's back.
    std::filesystem::remove(pathOf("Stone.txt"));
    again.addPreset(again.preset(0, 0), 0, "last");
    EXPECT_FALSE(again.save());
    EXPECT_NE(again.saveError().find("removed by another program"), std::string::npos) << again.saveError();
    EXPECT_FALSE(exists("Stone.txt"));
}

TEST_F(SavingSafely, AFileChangedByAnotherProgramIsNotDeleted) {
    write("A.txt", categoryText("A", {"a1"}));
    write("B.txt", categoryText("B", {"b1"}));
    PresetLibrary library;
    TexturePreset current;
    library.discoverPresetFilesIn(folder(), current);
    ASSERT_EQ(library.fileCount(), 2);
    const std::string theirs = categoryText("B", {"b1", "b2"});
    write("B.txt", theirs);
    m_platform->queueAnswer(VXMessageAnswer::Ok);
    EXPECT_FALSE(library.deletePresetFile(1));
    EXPECT_EQ(library.fileCount(), 2);
    EXPECT_EQ(read("B.txt"), theirs);
    EXPECT_NE(messages().back().text.find("changed by another program"), std::string::npos);
    // Unchanged, it goes as before, its text in the backup.
    m_platform->queueAnswer(VXMessageAnswer::Ok);
    EXPECT_TRUE(library.deletePresetFile(0));
    EXPECT_FALSE(exists("A.txt"));
    EXPECT_EQ(read("A.bak"), categoryText("A", {"a1"}));
}

TEST_F(SavingSafely, PresetsMovedBetweenFilesAreSavedTogetherOrNotAtAll) {
    write("A.txt", categoryText("A", {"a1", "a2"}));
    write("B.txt", categoryText("B", {"b1"}));
    PresetLibrary library;
    TexturePreset current;
    library.discoverPresetFilesIn(folder(), current);
    library.file(0).movePreset(0, 1, library.file(1), 0, 1);
    const std::string theirs = categoryText("B", {"b1", "theirs"});
    write("B.txt", theirs);
    saveAllPresetFiles(library);
    // a2 stays where it was on disk, rather than leaving A while B is refused.
    EXPECT_EQ(read("A.txt"), categoryText("A", {"a1", "a2"}));
    EXPECT_EQ(read("B.txt"), theirs);
    EXPECT_NE(messages().back().text.find("changed by another program"), std::string::npos);
    // Read again, the move is saved in both.
    reloadAllPresetFiles(library);
    library.file(0).movePreset(0, 1, library.file(1), 0, 2);
    saveAllPresetFiles(library);
    PresetReadStop stop;
    EXPECT_EQ(readPresetText(read("A.txt"), "", &stop).at(0).presets.size(), 1u);
    EXPECT_EQ(readPresetText(read("B.txt"), "", &stop).at(0).presets.at(2).name, "a2");
}

TEST_F(SavingSafely, TheLockIsTakenAgainWithinAProcessAndStaysBesideTheFile) {
    write("Stone.txt", categoryText("A", {"a1"}));
    VXFileLock outer;
    ASSERT_TRUE(outer.lock(pathOf("Stone.txt"))) << outer.error();
    PresetFile file;
    file.setPath(pathOf("Stone.txt"));
    ASSERT_TRUE(file.load());
    file.addPreset(file.preset(0, 0), 0, "a2");
    EXPECT_TRUE(file.save()) << file.saveError();
    outer.unlock();
    EXPECT_TRUE(exists(".Stone.txt.lock"));
    // A lock file that cannot be made is a clear failure, not a wait.
    VXFileLock nowhere;
    EXPECT_FALSE(nowhere.lock(pathOf("missing folder/Stone.txt"), 100));
    EXPECT_NE(nowhere.error().find("cannot lock"), std::string::npos);
}

#if !defined(_WIN32)
TEST_F(SavingSafely, ABackupNamedByALinkReplacesTheLinkNotItsTarget) {
    const std::string original = categoryText("A", {"a1"});
    write("Stone.txt", original);
    const std::string victim = (m_root / "victim.txt").string();
    std::ofstream(victim) << "precious";
    std::filesystem::create_symlink(victim, pathOf("Stone.bak"));
    PresetFile file;
    file.setPath(pathOf("Stone.txt"));
    ASSERT_TRUE(file.load());
    file.addPreset(file.preset(0, 0), 0, "a2");
    ASSERT_TRUE(file.save()) << file.saveError();
    std::ifstream in(victim);
    std::string kept;
    std::getline(in, kept);
    EXPECT_EQ(kept, "precious");
    EXPECT_FALSE(std::filesystem::is_symlink(pathOf("Stone.bak")));
    EXPECT_EQ(read("Stone.bak"), original);
}
#endif

TEST(PresetTextureNames, ANameIsAFileOfTheTexturesFolderNeverAPath) {
    const std::string head =
        "Preset 'p'\r\nType: Cloud\r\nNoiseLevel: 8\r\nNoiseSeed: 1\r\nColours: FF000000, 0\r\n"
        "TotalOpacity: 100\r\nTransformation: 1, 0, 0, 0, 1, 0, 0, 0, 1\r\n";
    const auto texture = [&](const std::string& name) {
        PresetReadStop stop;
        const auto read =
            readPresetText("Category 'A'\r\n" + head + "Texture: 100 '" + name + "'\r\nNoise: 0\r\n", "/t/", &stop);
        EXPECT_TRUE(stop.whole()) << name;
        return read.at(0).presets.at(0);
    };
    const TexturePreset plain = texture("stone.png");
    EXPECT_EQ(plain.textureEnabled, 1);
    EXPECT_EQ(readField(plain.texturePath, kPathSize), "/t/stone.png");
    for (const std::string name :
         {"../../../private/photo.png", "..", "sub/x.png", "..\\x.png", "C:x.png", "/etc/passwd"}) {
        const TexturePreset refused = texture(name);
        EXPECT_EQ(refused.textureEnabled, 0) << name;
        EXPECT_EQ(readField(refused.texturePath, kPathSize), "") << name;
    }
    // What is written reads back the same: a path below the folder is no name.
    TexturePreset below = plain;
    copyToField(below.texturePath, kPathSize, "/t/sub/x.png");
    EXPECT_NE(writePresetBlock(below, "/t/").find("Texture: 0 ''"), std::string::npos);
    EXPECT_NE(writePresetBlock(plain, "/t/").find("Texture: 100 'stone.png'"), std::string::npos);
}
