// A library over the user's own folder and shared read-only ones: which file a
// name finds, the order shown, and that a change never writes a shared file.
#include "PresetTestSupport.h"

#include "presets/PresetLibrary.h"

using namespace morvessan;
using morvessan::testing::categoryText;

namespace {

class SharedFolders : public morvessan::testing::PresetFolderTest {
protected:
    void SetUp() override {
        PresetFolderTest::SetUp();
        std::filesystem::create_directories(m_root / "shared");
    }
    std::string shared() const { return (m_root / "shared").string() + kPathSeparator; }
    void writeShared(const std::string& file, const std::string& text) const {
        std::ofstream(shared() + file, std::ios::binary) << text;
    }
    std::string readShared(const std::string& file) const {
        std::ifstream in(shared() + file, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
};

} // namespace

TEST_F(SharedFolders, OwnFilesHideSharedOnesOfTheSameNameAndAllAreSortedTogether) {
    writeShared("Woods.txt", categoryText("Shipped", {"Oak"}));
    writeShared("Stones.txt", categoryText("Shipped", {"Slate"}));
    write("woods.TXT", categoryText("Mine", {"Elm"}));
    write("Clouds.txt", categoryText("Mine", {"Cirrus"}));
    PresetLibrary library;
    library.discoverPresetFilesIn(std::vector<std::string>{folder(), shared()}, TextureFields{});
    ASSERT_EQ(library.fileCount(), 3);
    EXPECT_EQ(library.file(0).name(), "Clouds");
    EXPECT_EQ(library.file(1).name(), "Stones");
    EXPECT_EQ(library.file(2).name(), "woods"); // the user's, in its own spelling
    EXPECT_EQ(library.file(2).categoryName(0), "Mine");
    EXPECT_EQ(library.presetsFolder(), folder());
    EXPECT_FALSE(library.isSharedFile(library.file(0)));
    EXPECT_TRUE(library.isSharedFile(library.file(1)));
    EXPECT_FALSE(library.isSharedFile(library.file(2)));
}

TEST_F(SharedFolders, AnEmptyOwnFolderShowsTheSharedFilesAndNewFilesGoToTheOwnFolder) {
    writeShared("Woods.txt", categoryText("Shipped", {"Oak"}));
    PresetLibrary library;
    library.discoverPresetFilesIn(std::vector<std::string>{folder(), shared()}, TextureFields{});
    ASSERT_EQ(library.fileCount(), 1);
    EXPECT_EQ(library.file(0).path(), shared() + "Woods.txt");
    PresetFile& made = library.newPresetFile("Mine");
    EXPECT_EQ(made.path(), folder() + "Mine.txt");
}

TEST_F(SharedFolders, ASharedFileCopiedIntoTheOwnFolderIsSavedThereAndTheSharedOneStays) {
    const std::string shipped = categoryText("Shipped", {"Oak"});
    writeShared("Woods.txt", shipped);
    PresetLibrary library;
    library.discoverPresetFilesIn(std::vector<std::string>{folder(), shared()}, TextureFields{});
    PresetFile& file = library.file(0);
    file.copyInto(library.presetsFolder());
    file.addPreset(TextureFields{}, 0, "Added");
    ASSERT_TRUE(file.save()) << file.saveError();
    EXPECT_EQ(readShared("Woods.txt"), shipped);
    EXPECT_FALSE(std::filesystem::exists(shared() + "Woods.bak"));
    const std::string own = read("Woods.txt");
    EXPECT_NE(own.find("Preset 'Oak'"), std::string::npos);
    EXPECT_NE(own.find("Preset 'Added'"), std::string::npos);
    EXPECT_FALSE(exists("Woods.bak")); // nothing of the user's was there to back up
    EXPECT_FALSE(library.isSharedFile(file));
}

TEST_F(SharedFolders, ACopyNeverWritesOverAFileThatAppearedInTheOwnFolderMeanwhile) {
    writeShared("Woods.txt", categoryText("Shipped", {"Oak"}));
    PresetLibrary library;
    library.discoverPresetFilesIn(std::vector<std::string>{folder(), shared()}, TextureFields{});
    PresetFile& file = library.file(0);
    file.copyInto(library.presetsFolder());
    const std::string theirs = categoryText("Theirs", {"Pine"});
    write("Woods.txt", theirs);
    EXPECT_FALSE(file.save());
    EXPECT_EQ(read("Woods.txt"), theirs);
}
