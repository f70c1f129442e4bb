// The preset library on disk: discovery and its fallback, the current file,
// loading, the one-time backup, atomic saving, and read errors.
#include "PresetTestSupport.h"

#include "presets/PresetDiskFile.h"
#include "presets/PresetLibrary.h"
#include "presets/PresetText.h"

#include <streambuf>

using namespace morvessan;
using morvessan::testing::categoryText;

namespace {

class Library : public morvessan::testing::PresetFolderTest {};

TextureFields currentTexture() {
    TextureFields f;
    f.type = kFire;
    f.noiseSeed = 1234;
    return f;
}

} // namespace

TEST_F(Library, EmptyFolderGivesTheUnsavedDefaultFile) {
    PresetLibrary library;
    library.discoverPresetFiles(currentTexture());
    ASSERT_EQ(library.fileCount(), 1);
    const PresetFile& file = library.file(0);
    EXPECT_EQ(file.name(), "Default");
    EXPECT_EQ(file.path(), folder() + "Default.txt");
    EXPECT_EQ(library.presetsFolder(), folder());
    EXPECT_EQ(library.texturesFolder(), (m_root / "Morvessan Textures").string() + kPathSeparator);
    ASSERT_EQ(file.categoryCount(), 1);
    EXPECT_EQ(file.categoryName(0), "Default");
    ASSERT_EQ(file.presetCount(0), 1);
    EXPECT_EQ(file.presetName(0, 0), "Default");
    EXPECT_EQ(file.preset(0, 0).type, kFire);
    EXPECT_EQ(file.preset(0, 0).noiseSeed, 1234);
    EXPECT_FALSE(exists("Default.txt"));
}

TEST_F(Library, MissingFolderGivesTheFallbackWhoseSaveFails) {
    PresetLibrary library;
    library.discoverPresetFilesIn((m_root / "nowhere").string(), currentTexture());
    ASSERT_EQ(library.fileCount(), 1);
    EXPECT_FALSE(library.file(0).save());
    EXPECT_FALSE(std::filesystem::exists(m_root / "nowhere"));
}

TEST_F(Library, FilesInByteOrderUnreadableOnesSkipped) {
    write("b.txt", categoryText("B1", {"x"}));
    write("A.txt", categoryText("A1", {"y", "z"}) + categoryText("A2", {}));
    write("Empty.TXT", "");
    write(".txt", categoryText("Untitled", {})); // a file saved under the empty name
    write("notes.md", categoryText("N", {}));
    std::filesystem::create_directory(pathOf("C.txt"));
    PresetLibrary library;
    library.discoverPresetFilesIn(folder().substr(0, folder().size() - 1), currentTexture());
    ASSERT_EQ(library.fileCount(), 4);
    EXPECT_EQ(library.file(0).name(), "");
    EXPECT_EQ(library.file(1).name(), "A");
    EXPECT_EQ(library.file(2).name(), "Empty");
    EXPECT_EQ(library.file(3).name(), "b");
    EXPECT_EQ(library.file(1).categoryCount(), 2);
    EXPECT_EQ(library.file(1).presetCount(0), 2);
    EXPECT_EQ(library.file(2).categoryCount(), 0); // no category, still listed
}

TEST_F(Library, CurrentFileChosenByTheBlocksName) {
    write("A.txt", categoryText("A", {}));
    write("B.txt", categoryText("B", {}));
    PresetLibrary library;
    library.discoverPresetFiles(currentTexture());
    FilterParameters block{};
    writeDefaultParameters(block);
    copyToField(block.presetFile, kPathSize, "B");
    EXPECT_TRUE(library.selectCurrentFile(block));
    EXPECT_EQ(library.currentFileIndex(), 1);
    copyToField(block.presetFile, kPathSize, "Gone");
    EXPECT_FALSE(library.selectCurrentFile(block));
    EXPECT_EQ(library.currentFileIndex(), 1);
    EXPECT_FALSE(library.selectCurrentFile("b")); // exact comparison
    library.setCurrentFileIndex(0);
    library.storeCurrentFileName(block);
    EXPECT_EQ(readField(block.presetFile, kPathSize), "A");
    library.setCurrentFileIndex(7);
    library.storeCurrentFileName(block);
    EXPECT_EQ(readField(block.presetFile, kPathSize), "");
}

TEST_F(Library, LoadReplacesCategoriesAndAFailedLoadChangesNothing) {
    PresetFile file;
    EXPECT_EQ(file.categoryCount(), 1);
    EXPECT_EQ(file.categoryName(0), "Default");
    file.setPath(pathOf("Missing.txt"));
    EXPECT_FALSE(file.load());
    EXPECT_EQ(file.categoryCount(), 1);
    write("Two.txt", categoryText("X", {"p"}) + categoryText("Y", {}));
    file.setPath(pathOf("Two.txt"));
    EXPECT_EQ(file.name(), "Two");
    ASSERT_TRUE(file.load());
    ASSERT_EQ(file.categoryCount(), 2);
    EXPECT_EQ(file.categoryName(1), "Y");
}

TEST_F(Library, FirstSaveTakesTheBackupOnce) {
    write("Stone.txt", categoryText("Old", {"p"}));
    const std::string original = read("Stone.txt");
    PresetFile file;
    file.setPath(pathOf("Stone.txt"));
    ASSERT_TRUE(file.load());
    file.renameCategory(0, "New");
    ASSERT_TRUE(file.save());
    EXPECT_TRUE(file.backupDone());
    EXPECT_EQ(read("Stone.bak"), original);
    EXPECT_EQ(read("Stone.txt"), file.text());
    EXPECT_EQ(read("Stone.txt").substr(0, 16), "Category 'New'\r\n");
    // A second save leaves the backup alone.
    file.renameCategory(0, "Newer");
    ASSERT_TRUE(file.save());
    EXPECT_EQ(read("Stone.bak"), original);
    // A new object (a new showing of the dialog) backs up again.
    PresetFile again;
    again.setPath(pathOf("Stone.txt"));
    ASSERT_TRUE(again.load());
    ASSERT_TRUE(again.save());
    EXPECT_EQ(read("Stone.bak").substr(0, 18), "Category 'Newer'\r\n");
    EXPECT_FALSE(exists("Stone.txt.tmp"));
}

TEST_F(Library, SavingANewFileCreatesIt) {
    PresetFile file;
    file.setPath(pathOf("Fresh.txt"));
    EXPECT_TRUE(file.save()); // no old file: the failed backup is ignored
    EXPECT_FALSE(exists("Fresh.bak"));
    EXPECT_EQ(read("Fresh.txt"), "Category 'Default'\r\n");
}

TEST_F(Library, AWriteThatFailsHalfWayLeavesTheOldText) {
    write("Keep.txt", "old text\r\n");
    {
        VXFileReplacement file;
        ASSERT_TRUE(file.begin(pathOf("Keep.txt")));
        ASSERT_TRUE(file.write("new te"));
        EXPECT_EQ(folderOf(file.temporaryPath()), folder());
        EXPECT_TRUE(std::filesystem::exists(file.temporaryPath()));
    } // given up half-way
    EXPECT_EQ(read("Keep.txt"), "old text\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder()), {}), 1);
}

TEST_F(Library, SaveThatCannotReplaceReturnsFalseAndKeepsTheTarget) {
    // A folder where the file should be: the replace fails for every user, root included.
    std::filesystem::create_directory(pathOf("Blocked.txt"));
    PresetFile file;
    file.setPath(pathOf("Blocked.txt"));
    EXPECT_FALSE(file.save());
    EXPECT_TRUE(std::filesystem::is_directory(pathOf("Blocked.txt")));
    EXPECT_FALSE(exists("Blocked.txt.tmp"));
}

namespace {
// A stream buffer that hands out `good` and then fails like a device error.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(std::string good) : m_good(std::move(good)) {
        setg(m_good.data(), m_good.data(), m_good.data() + m_good.size());
    }

protected:
    int_type underflow() override { throw std::ios_base::failure("device error"); }

private:
    std::string m_good;
};
} // namespace

TEST_F(Library, AReadErrorKeepsWhatWasReadAndProtectsTheFile) {
    const std::string text = categoryText("A", {"p", "q"});
    write("Part.txt", text);
    PresetFile file;
    file.setPath(pathOf("Part.txt"));
    FailingBuffer buffer(text.substr(0, text.size() - 20));
    std::istream in(&buffer);
    file.loadFrom(in);
    EXPECT_FALSE(file.readWhole());
    ASSERT_EQ(file.categoryCount(), 1);
    EXPECT_EQ(file.presetCount(0), 1); // the cut second block is not a preset
    EXPECT_FALSE(file.save());
    EXPECT_EQ(read("Part.txt"), text);
    EXPECT_FALSE(exists("Part.bak")); // nothing written, not even the backup
    ASSERT_TRUE(file.load());         // read whole again: saving is allowed again
    EXPECT_TRUE(file.readWhole());
    EXPECT_TRUE(file.save());
}
