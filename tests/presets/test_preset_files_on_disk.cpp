// Preset files that are damaged, unreadable, linked or protected: what is read is
// said to be whole or not, and a file on disk is never cut down, widened or lost.
#include "PresetTestSupport.h"

#include "presets/PresetDiskFile.h"
#include "presets/PresetLibrary.h"
#include "presets/PresetManagement.h"
#include "presets/PresetMessages.h"
#include "presets/PresetText.h"

#include <algorithm>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace morvessan;
using morvessan::testing::categoryText;

namespace {

class DiskFiles : public morvessan::testing::PresetFolderTest {};

std::string describeStop(const std::string& text) {
    PresetReadStop stop;
    readPresetText(text, "", &stop);
    return stop.describe();
}

} // namespace

TEST(PresetReading, BlankLinesAndAByteOrderMarkAreHarmlessAndEveryStopIsNamed) {
    const std::string a = categoryText("A", {"a1", "a2"});
    const std::string b = categoryText("B", {"b1"});
    PresetReadStop stop;
    auto read = readPresetText("\xEF\xBB\xBF" + a + "\r\n \t,\r\n" + b + "\n\n", "", &stop);
    EXPECT_TRUE(stop.whole());
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].name, "A");
    EXPECT_EQ(read[0].presets.size(), 2u);
    EXPECT_EQ(read[1].presets.at(0).name, "b1");
    // A blank line inside a block is skipped as well.
    std::string gap = a;
    gap.insert(gap.find("NoiseSeed:"), "\r\n");
    EXPECT_EQ(readPresetText(gap, "", &stop).at(0).presets.size(), 2u);
    EXPECT_TRUE(stop.whole());
    // Lines ended by a lone CR (old editors) are one long line: never taken as whole.
    std::string mac = a;
    mac.erase(std::remove(mac.begin(), mac.end(), '\n'), mac.end());
    readPresetText(mac, "", &stop);
    EXPECT_EQ(stop.line, 1u);

    // A block cut short by the next preset: reading goes on, the loss is named.
    std::string cut = a;
    cut.replace(cut.find("Type: Wood"), 10, "Tpye: Wood");
    EXPECT_EQ(describeStop(cut),
              "line 3: expected \"Type:\" and Cloud, Fire, Marble or Wood in preset 'a1', found "
              "\"Tpye: Wood\"");
    EXPECT_EQ(describeStop(a + "garbage\r\n" + b),
              "line 16: expected a \"Category\" heading or a \"Preset\" block, found \"garbage\"");
    // What a save would cut off: words past the twentieth, stops past the eighth.
    std::string words = "Category";
    for (int i = 0; i < 21; ++i) {
        words += " w";
    }
    EXPECT_EQ(describeStop(words + "\r\n"),
              "line 1: expected at most 20 words or values on a line (the rest would "
              "be lost), found \"" +
                  words + "\"");
    std::string stops = a;
    for (int i = 0; i < 7; ++i) {
        stops.insert(stops.find(", FFFFFFFF, 255"), ", 00000000, 1");
    }
    const std::string nine = "line 6: expected at most eight colour stops in preset 'a1' (the rest would be lost)";
    EXPECT_EQ(describeStop(stops).substr(0, nine.size()), nine);
    EXPECT_EQ(describeStop(a.substr(0, a.find("TotalOpacity"))),
              "line 7: expected \"TotalOpacity:\" and a number in preset 'a1', found the end of the file");
}

TEST_F(DiskFiles, ADamagedFileIsNeverSavedAndItsBackupIsTheWholeFile) {
    const std::string damaged = categoryText("A", {"p"}) + "Preset 'q'\r\nType: Stone\r\n" + categoryText("B", {"r"});
    write("Cut.txt", damaged);
    PresetLibrary library;
    library.discoverPresetFilesIn(folder(), TextureFields{});
    PresetFile& file = library.file(0);
    EXPECT_EQ(file.damage(), "'" + pathOf("Cut.txt") +
                                 "' was not read whole: line 10: expected \"Type:\" and Cloud, Fire, Marble or Wood "
                                 "in preset 'q', found \"Type: Stone\"");
    EXPECT_EQ(addPresetFromTexture(file, 0, TextureFields{}, "New"), 0);
    saveAllPresetFiles(library);
    EXPECT_EQ(read("Cut.txt"), damaged);
    EXPECT_FALSE(exists("Cut.bak"));
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].text, kFileNotSaved + file.damage());
    EXPECT_EQ(file.saveError(), file.damage() + "; it is not saved, so that the presets it holds on disk are kept");

    // Deleting still keeps the file as it was on disk.
    library.newPresetFile("Other");
    m_platform->queueAnswer(VXMessageAnswer::Ok);
    ASSERT_TRUE(library.deletePresetFile(0));
    EXPECT_EQ(read("Cut.bak"), damaged);
    EXPECT_FALSE(exists("Cut.txt"));
}

TEST_F(DiskFiles, UnreadableFilesAreNeverTakenForMissingOnes) {
    std::filesystem::create_directory(pathOf("Folder.txt"));
    write("Big.txt", "");
    std::filesystem::resize_file(pathOf("Big.txt"), kMaxPresetFileBytes + 1); // sparse: costs nothing
#if !defined(_WIN32)
    ASSERT_EQ(::mkfifo(pathOf("Pipe.txt").c_str(), 0644), 0); // would block a plain open
#endif
    PresetLibrary library;
    library.discoverPresetFilesIn(folder(), TextureFields{});
    ASSERT_EQ(library.fileCount(), 1); // the in-memory fallback
    std::vector<std::string> errors;
    for (const UnreadablePresetFile& file : library.unreadableFiles()) {
        errors.push_back(file.name + ": " + file.error);
    }
    std::vector<std::string> expected = {"Big: cannot read '" + pathOf("Big.txt") + "': it is larger than 64 MiB",
                                         "Folder: cannot read '" + pathOf("Folder.txt") + "': it is a folder"};
#if !defined(_WIN32)
    expected.push_back("Pipe: cannot read '" + pathOf("Pipe.txt") +
                       "': it is not a regular file (a pipe, a device or a socket)");
#endif
    EXPECT_EQ(errors, expected);
    EXPECT_FALSE(library.validateFileName("folder"));
    EXPECT_EQ(messages().back().text, kFileNameUsed);

    // A file that appears on disk after discovery is not written over by a new one.
    PresetFile& fresh = library.newPresetFile("Late");
    write("Late.txt", "someone else's text");
    EXPECT_FALSE(fresh.save());
    EXPECT_EQ(fresh.saveError(), "cannot create '" + pathOf("Late.txt") + "': a file of that name already exists");
    EXPECT_EQ(read("Late.txt"), "someone else's text");
}

TEST_F(DiskFiles, ReplacingKeepsPermissionsRefusesReadOnlyAndWritesThroughLinks) {
    write("Stone.txt", categoryText("A", {"p"}));
    PresetFile file;
    file.setPath(pathOf("Stone.txt"));
    ASSERT_TRUE(file.load());
    namespace fs = std::filesystem;
    fs::permissions(pathOf("Stone.txt"), fs::perms::owner_read);
    EXPECT_FALSE(file.save());
    EXPECT_EQ(file.saveError(), "cannot replace '" + pathOf("Stone.txt") + "': it is read-only");
    // Two temporary files never share a name, and neither is a fixed one.
    VXFileReplacement one;
    VXFileReplacement two;
    fs::permissions(pathOf("Stone.txt"), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(one.begin(pathOf("Stone.txt")) && two.begin(pathOf("Stone.txt")));
    EXPECT_NE(one.temporaryPath(), two.temporaryPath());
    EXPECT_EQ(folderOf(one.temporaryPath()), folder());
    two.discard();
    ASSERT_TRUE(one.write("x") && one.commit());
#if !defined(_WIN32)
    EXPECT_EQ(fs::status(pathOf("Stone.txt")).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    // A linked preset file: its target is updated, the link stays.
    fs::create_directory(m_root / "elsewhere");
    const std::string real = (m_root / "elsewhere" / "Real.txt").string();
    std::ofstream(real) << categoryText("R", {"r"});
    fs::create_symlink(real, pathOf("Linked.txt"));
    fs::create_symlink(m_root / "missing.txt", pathOf("Dangling.txt"));
    PresetFile linked;
    linked.setPath(pathOf("Linked.txt"));
    ASSERT_TRUE(linked.load());
    linked.addCategory("More");
    ASSERT_TRUE(linked.save());
    EXPECT_TRUE(fs::is_symlink(pathOf("Linked.txt")));
    EXPECT_EQ(read("Linked.txt"), linked.text());
    std::string error;
    EXPECT_FALSE(vxReplaceFile(pathOf("Dangling.txt"), "x", error));
    EXPECT_EQ(error, "cannot replace '" + pathOf("Dangling.txt") + "': it is a link to a missing file");
    EXPECT_FALSE(fs::exists(m_root / "missing.txt"));
    if (::geteuid() == 0) { // a link planted by a stranger is not followed
        ASSERT_EQ(::lchown(pathOf("Linked.txt").c_str(), 12345, 12345), 0);
        EXPECT_FALSE(linked.save());
        EXPECT_EQ(linked.saveError(),
                  "cannot replace '" + pathOf("Linked.txt") + "': it is a link made by another user");
    }
#endif
    EXPECT_EQ(std::count_if(fs::directory_iterator(folder()), {},
                            [](const fs::directory_entry& e) { return e.path().extension() == ".tmp"; }),
              0);
}
