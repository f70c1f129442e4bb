// The in-memory model: category and preset operations, their name rules and
// messages, and the file-level operations of the library.
#include "PresetTestSupport.h"

#include "presets/PresetLibrary.h"
#include "presets/PresetMessages.h"

using namespace morvessan;
using morvessan::testing::categoryText;

namespace {

class Model : public morvessan::testing::PresetFolderTest {
protected:
    // A file with categories named by `names`, each holding presets "<cat>1".."<cat>n".
    static void fill(PresetFile& file, std::initializer_list<std::pair<const char*, int>> categories) {
        file.deleteCategory(0);
        for (const auto& [name, count] : categories) {
            file.addCategory(name);
            for (int i = 1; i <= count; ++i) {
                file.addPreset(TextureFields{}, file.categoryCount() - 1, name + std::to_string(i));
            }
        }
    }
    static std::vector<std::string> categoryNames(const PresetFile& file) {
        std::vector<std::string> names;
        for (int i = 0; i < file.categoryCount(); ++i) {
            names.push_back(file.categoryName(i));
        }
        return names;
    }
    static std::vector<std::string> presetNames(const PresetFile& file, int category) {
        std::vector<std::string> names;
        for (int i = 0; i < file.presetCount(category); ++i) {
            names.push_back(file.presetName(category, i));
        }
        return names;
    }
    using Names = std::vector<std::string>;
};

} // namespace

TEST_F(Model, CategoryNamesAreCheckedExactly) {
    PresetFile file;
    fill(file, {{"A", 0}, {"B", 0}});
    EXPECT_FALSE(file.renameCategory(1, "A"));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "That name is already used by another category");
    EXPECT_EQ(messages()[0].buttons, VXMessageButtons::Ok);
    EXPECT_EQ(categoryNames(file), (Names{"A", "B"}));
    EXPECT_TRUE(file.renameCategory(1, "a")); // letter case counts
    EXPECT_TRUE(file.renameCategory(1, "a")); // its own name again: no message
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_FALSE(file.isCategoryNameFree("A"));
    EXPECT_TRUE(file.isCategoryNameFree("C"));
    // Names that cannot be stored are refused with their own message.
    EXPECT_FALSE(file.renameCategory(0, "it's \"x\""));
    EXPECT_EQ(messages().back().text, kNameWithBothQuotes);
    EXPECT_FALSE(file.renameCategory(0, "two\nlines"));
    EXPECT_EQ(messages().back().text, kNameWithLineBreak);
    EXPECT_TRUE(file.renameCategory(0, "it's"));
    EXPECT_EQ(categoryNames(file), (Names{"it's", "a"}));
}

TEST_F(Model, PresetNamesAreCheckedOnRenameOnly) {
    PresetFile file;
    fill(file, {{"C", 2}});
    EXPECT_FALSE(file.renamePreset(0, 1, "C1"));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "That name is already used by another preset");
    EXPECT_TRUE(file.renamePreset(0, 1, "C2"));
    EXPECT_TRUE(file.renamePreset(0, 1, "Other"));
    file.addPreset(TextureFields{}, 0, "C1"); // adding does not check
    EXPECT_EQ(presetNames(file, 0), (Names{"C1", "Other", "C1"}));
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(Model, AddPresetStoresAnIndependentCopy) {
    PresetFile file;
    TexturePreset source;
    source.name = "ignored";
    source.noiseSeed = 5;
    file.addPreset(source, 0, "Kept");
    source.noiseSeed = 6;
    EXPECT_EQ(file.preset(0, 0).noiseSeed, 5);
    EXPECT_EQ(file.preset(0, 0).name, "Kept");
    EXPECT_THROW(file.preset(0, 1), std::out_of_range);
    EXPECT_THROW(file.category(3), std::out_of_range);
}

TEST_F(Model, MovingCategories) {
    PresetFile file;
    fill(file, {{"A", 1}, {"B", 0}, {"C", 0}, {"D", 0}});
    file.moveCategory(0, file, 2);
    EXPECT_EQ(categoryNames(file), (Names{"B", "C", "A", "D"}));
    file.moveCategory(0, file, 3); // the count after removal appends
    EXPECT_EQ(categoryNames(file), (Names{"C", "A", "D", "B"}));
    PresetFile other;
    file.moveCategory(1, other, 0);
    EXPECT_EQ(categoryNames(other), (Names{"A", "Default"}));
    EXPECT_EQ(other.presetCount(0), 1);
    EXPECT_EQ(categoryNames(file), (Names{"C", "D", "B"}));
}

TEST_F(Model, MovingPresets) {
    PresetFile file;
    fill(file, {{"A", 3}, {"B", 1}});
    file.movePreset(0, 2, file, 0, 2); // the last one, to the end of its own category
    EXPECT_EQ(presetNames(file, 0), (Names{"A1", "A2", "A3"}));
    file.movePreset(0, 0, file, 0, 2);
    EXPECT_EQ(presetNames(file, 0), (Names{"A2", "A3", "A1"}));
    file.movePreset(1, 0, file, 0, 0);
    EXPECT_EQ(presetNames(file, 0), (Names{"B1", "A2", "A3", "A1"}));
    EXPECT_EQ(file.presetCount(1), 0);
    file.addPreset(TextureFields{}, 1, "A2");
    file.movePreset(1, 0, file, 0, 1); // a same-named preset is allowed in
    EXPECT_EQ(presetNames(file, 0), (Names{"B1", "A2", "A2", "A3", "A1"}));
    // A bad target throws before the preset is taken out.
    EXPECT_THROW(file.movePreset(0, 0, file, 5, 0), std::out_of_range);
    EXPECT_EQ(file.presetCount(0), 5);
}

TEST_F(Model, SetPathNamesTheFile) {
    PresetFile file;
    file.setPath("C:\\P\\My Stones.txt");
    EXPECT_EQ(file.name(), "My Stones");
    file.setPath("/p/q.r/Stone.txt");
    EXPECT_EQ(file.name(), "Stone");
}

TEST_F(Model, FileNameRules) {
    PresetLibrary library;
    library.discoverPresetFilesIn(folder(), TextureFields{});
    ASSERT_EQ(library.file(0).name(), "Default");
    EXPECT_FALSE(library.validateFileName("My.Stones"));
    EXPECT_EQ(messages().back().text,
              "A preset file name cannot contain any of the following characters:\n/\\:*?\"<>|.");
    for (const char* bad : {"a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"}) {
        EXPECT_FALSE(library.validateFileName(bad)) << bad;
    }
    EXPECT_FALSE(library.validateFileName("Default"));
    EXPECT_EQ(messages().back().text, "That name is already used by another preset file");
    EXPECT_FALSE(library.validateFileName("default")); // one file on case-folding file systems
    EXPECT_EQ(messages().back().text, "That name is already used by another preset file");
    const auto count = messages().size();
    EXPECT_TRUE(library.validateFileName(""));
    EXPECT_TRUE(library.validateFileName("Stone's"));
    EXPECT_EQ(messages().size(), count);
}

TEST_F(Model, NewRenameAndDeleteFiles) {
    write("Stone.txt", categoryText("S", {"s1"}));
    PresetLibrary library;
    library.discoverPresetFiles(TextureFields{});
    ASSERT_EQ(library.fileCount(), 1);
    PresetFile& created = library.newPresetFile("Fresh");
    EXPECT_EQ(created.path(), folder() + "Fresh.txt");
    EXPECT_EQ(created.categoryCount(), 1);
    EXPECT_FALSE(exists("Fresh.txt"));
    // Never saved: nothing to move, no message, the name stays.
    EXPECT_FALSE(created.renameFile("Other"));
    EXPECT_EQ(created.name(), "Fresh");
    EXPECT_TRUE(messages().empty());

    PresetFile& stone = library.file(0);
    const std::string text = read("Stone.txt");
    EXPECT_TRUE(stone.renameFile("Granite"));
    EXPECT_EQ(stone.name(), "Granite");
    EXPECT_EQ(stone.path(), folder() + "Granite.txt");
    EXPECT_EQ(read("Granite.txt"), text); // moved, not written
    EXPECT_FALSE(exists("Stone.txt"));
    EXPECT_TRUE(stone.renameFile("Granite")); // unchanged: accepted
    EXPECT_TRUE(stone.renameFile("granite")); // a change of case of its own name
    EXPECT_EQ(stone.name(), "granite");
    EXPECT_FALSE(stone.renameFile("fresh")); // the other file, by case
    EXPECT_EQ(messages().back().text, kFileNameUsed);
    // A file on disk that is not in the library is never replaced by a move.
    write("Taken.txt", "keep");
    EXPECT_FALSE(stone.renameFile("Taken"));
    EXPECT_EQ(read("Taken.txt"), "keep");

    // Delete: Cancel changes nothing; OK saves (backing up) and removes.
    m_platform->queueAnswer(VXMessageAnswer::Cancel);
    EXPECT_FALSE(library.deletePresetFile(0));
    EXPECT_EQ(library.fileCount(), 2);
    EXPECT_EQ(messages().back().text,
              "Deleting this preset file will result in perminant loss of any presets that it contains.\n"
              "Do you wish to continue?");
    EXPECT_EQ(messages().back().buttons, VXMessageButtons::OkCancel);
    m_platform->queueAnswer(VXMessageAnswer::Ok);
    EXPECT_TRUE(library.deletePresetFile(0));
    EXPECT_EQ(library.fileCount(), 1);
    EXPECT_EQ(library.file(0).name(), "Fresh");
    EXPECT_FALSE(exists("granite.txt"));
    EXPECT_EQ(read("granite.bak"), text);
}
