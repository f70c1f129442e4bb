// The preset dialogs' operations: Add Preset with its name proposal, deleting,
// renaming and dragging entries, OK and Cancel, mailing and the web page.
#include "PresetTestSupport.h"

#include "presets/PresetContacts.h"
#include "presets/PresetManagement.h"
#include "presets/PresetMessages.h"

using namespace morvessan;
using morvessan::testing::categoryText;
using Level = PresetTreeItem::Level;

namespace {

class Management : public morvessan::testing::PresetFolderTest {
protected:
    // Library with A.txt [A: a1 a2, B: b1] and Z.txt [Z: z1].
    void SetUp() override {
        PresetFolderTest::SetUp();
        write("A.txt", categoryText("A", {"a1", "a2"}) + categoryText("B", {"b1"}));
        write("Z.txt", categoryText("Z", {"z1"}));
        m_library.discoverPresetFiles(TextureFields{});
        ASSERT_EQ(m_library.fileCount(), 2);
    }
    std::vector<std::string> names(int file, int category) const {
        std::vector<std::string> out;
        const PresetFile& f = m_library.file(file);
        for (int i = 0; i < f.presetCount(category); ++i) {
            out.push_back(f.presetName(category, i));
        }
        return out;
    }
    static PresetTreeItem fileItem(int f) { return {Level::File, f, -1, -1}; }
    static PresetTreeItem categoryItem(int f, int c) { return {Level::Category, f, c, -1}; }
    static PresetTreeItem presetItem(int f, int c, int p) { return {Level::Preset, f, c, p}; }
    using Names = std::vector<std::string>;

    PresetLibrary m_library;
};

} // namespace

TEST_F(Management, ProposedNamesFillTheFirstGap) {
    PresetFile file;
    EXPECT_EQ(proposePresetName(file, 0), "Preset 1");
    file.addPreset(TextureFields{}, 0, "Preset 1");
    file.addPreset(TextureFields{}, 0, "Preset 3");
    EXPECT_EQ(proposePresetName(file, 0), "Preset 2");
    file.addPreset(TextureFields{}, 0, "Preset 2");
    EXPECT_EQ(proposePresetName(file, 0), "Preset 4");
    EXPECT_EQ(proposePresetName(file, -1), "Preset 1");
}

TEST_F(Management, AddPresetStoresTheTextureAndSaves) {
    TextureFields texture;
    texture.noiseSeed = 77;
    PresetFile& a = m_library.file(0);
    EXPECT_EQ(addPresetFromTexture(a, 1, texture, "b1"), 1); // a clash is not checked
    EXPECT_EQ(names(0, 1), (Names{"b1", "b1"}));
    EXPECT_EQ(a.preset(1, 1).noiseSeed, 77);
    EXPECT_EQ(read("A.txt"), a.text());
    EXPECT_TRUE(exists("A.bak"));
    EXPECT_EQ(addPresetFromTexture(a, 0, texture, "x'\"y"), -1);
    EXPECT_EQ(messages().back().text, kNameWithBothQuotes);
    EXPECT_EQ(a.presetCount(0), 2);

    // A file without categories gets "Default" first.
    write("Empty.txt", "");
    PresetFile empty;
    empty.setPath(pathOf("Empty.txt"));
    ASSERT_TRUE(empty.load());
    ASSERT_EQ(empty.categoryCount(), 0);
    EXPECT_EQ(addPresetFromTexture(empty, 0, texture, "p"), 0);
    EXPECT_EQ(empty.categoryName(0), "Default");
    EXPECT_EQ(empty.presetCount(0), 1);
}

TEST_F(Management, AddFileAndCategoryOneTryAtATime) {
    EXPECT_FALSE(addPresetFileNamed(m_library, "A"));
    EXPECT_EQ(messages().back().text, "That name is already used by another preset file");
    EXPECT_EQ(m_library.fileCount(), 2);
    EXPECT_TRUE(addPresetFileNamed(m_library, "Stone"));
    EXPECT_EQ(m_library.file(2).name(), "Stone");
    EXPECT_FALSE(addCategoryNamed(m_library.file(0), "B"));
    EXPECT_EQ(messages().back().text, "That name is already used by another category");
    EXPECT_TRUE(addCategoryNamed(m_library.file(0), "b"));
    EXPECT_EQ(m_library.file(0).categoryCount(), 3);
}

TEST_F(Management, DeletingCategoriesMergesIntoTheNeighbour) {
    EXPECT_TRUE(deleteTreeItem(m_library, categoryItem(0, 0)));
    ASSERT_EQ(m_library.file(0).categoryCount(), 1);
    EXPECT_EQ(m_library.file(0).categoryName(0), "B");
    EXPECT_EQ(names(0, 0), (Names{"b1", "a1", "a2"}));
    // The last category stays, with its message.
    EXPECT_FALSE(deleteTreeItem(m_library, categoryItem(0, 0)));
    EXPECT_EQ(messages().back().text, "You cannot delete the last preset category.");
    EXPECT_EQ(m_library.file(0).categoryCount(), 1);
}

TEST_F(Management, DeletingTheSecondCategoryMergesBackwards) {
    EXPECT_TRUE(deleteTreeItem(m_library, categoryItem(0, 1)));
    EXPECT_EQ(names(0, 0), (Names{"a1", "a2", "b1"}));
    EXPECT_TRUE(messages().empty());
}

TEST_F(Management, DeletingPresetsAndFiles) {
    EXPECT_TRUE(deleteTreeItem(m_library, presetItem(0, 0, 0)));
    EXPECT_EQ(names(0, 0), (Names{"a2"}));
    m_platform->queueAnswer(VXMessageAnswer::Ok);
    EXPECT_TRUE(deleteTreeItem(m_library, fileItem(1)));
    EXPECT_FALSE(exists("Z.txt"));
    EXPECT_FALSE(deleteTreeItem(m_library, fileItem(0)));
    EXPECT_EQ(messages().back().text, "You cannot delete the last preset file.");
    EXPECT_EQ(m_library.fileCount(), 1);
}

TEST_F(Management, RenamingByLevel) {
    EXPECT_TRUE(renameTreeItem(m_library, presetItem(0, 0, 0), "first"));
    EXPECT_FALSE(renameTreeItem(m_library, presetItem(0, 0, 1), "first"));
    EXPECT_TRUE(renameTreeItem(m_library, categoryItem(0, 1), "Bee"));
    EXPECT_TRUE(renameTreeItem(m_library, fileItem(1), "Zed"));
    EXPECT_TRUE(exists("Zed.txt"));
    EXPECT_EQ(names(0, 0), (Names{"first", "a2"}));
}

TEST_F(Management, DropTable) {
    // Files are not dragged; a category does not go on a preset; nothing on itself.
    EXPECT_FALSE(dropTreeItem(m_library, fileItem(0), fileItem(1)));
    EXPECT_FALSE(dropTreeItem(m_library, categoryItem(0, 0), presetItem(1, 0, 0)));
    EXPECT_FALSE(dropTreeItem(m_library, categoryItem(0, 0), categoryItem(0, 0)));
    EXPECT_FALSE(canDropTreeItem(presetItem(0, 0, 1), presetItem(0, 0, 1)));
    EXPECT_TRUE(canDropTreeItem(presetItem(0, 0, 1), fileItem(0)));
    EXPECT_EQ(m_library.file(0).categoryCount(), 2);

    // preset on preset: the target's index, counted after the removal
    EXPECT_TRUE(dropTreeItem(m_library, presetItem(0, 0, 0), presetItem(0, 0, 1)));
    EXPECT_EQ(names(0, 0), (Names{"a2", "a1"}));
    // preset on file: first in the file's first category
    EXPECT_TRUE(dropTreeItem(m_library, presetItem(0, 1, 0), fileItem(1)));
    EXPECT_EQ(names(1, 0), (Names{"b1", "z1"}));
    EXPECT_EQ(m_library.file(0).presetCount(1), 0);
    // preset on category: first in that category
    EXPECT_TRUE(dropTreeItem(m_library, presetItem(1, 0, 1), categoryItem(0, 1)));
    EXPECT_EQ(names(0, 1), (Names{"z1"}));
    // category on file: first in that file
    EXPECT_TRUE(dropTreeItem(m_library, categoryItem(0, 1), fileItem(1)));
    EXPECT_EQ(m_library.file(1).categoryName(0), "B");
    EXPECT_EQ(m_library.file(1).categoryName(1), "Z");
    // category on category: at the target's index
    EXPECT_TRUE(dropTreeItem(m_library, categoryItem(1, 0), categoryItem(1, 1)));
    EXPECT_EQ(m_library.file(1).categoryName(1), "B");
    // preset on a file without categories: a "Default" category is made for it
    PresetFile& bare = m_library.newPresetFile("Bare");
    bare.deleteCategory(0);
    EXPECT_TRUE(dropTreeItem(m_library, presetItem(0, 0, 0), fileItem(2)));
    EXPECT_EQ(bare.categoryName(0), "Default");
    EXPECT_EQ(bare.presetName(0, 0), "a2");
}

TEST_F(Management, OkSavesEverythingCancelReloads) {
    m_library.file(0).renameCategory(0, "Renamed");
    PresetFile& fresh = m_library.newPresetFile("Fresh");
    fresh.renameCategory(0, "Mine");
    reloadAllPresetFiles(m_library);
    EXPECT_EQ(m_library.file(0).categoryName(0), "A");
    EXPECT_EQ(fresh.categoryName(0), "Mine"); // never saved: kept as it is

    m_library.file(0).renameCategory(0, "Renamed");
    saveAllPresetFiles(m_library);
    EXPECT_EQ(read("A.txt").substr(0, 18), "Category 'Renamed'");
    EXPECT_EQ(read("Fresh.txt"), "Category 'Mine'\r\n");
    EXPECT_TRUE(exists("Z.bak"));

    // A deleted file does not come back on Cancel.
    m_platform->queueAnswer(VXMessageAnswer::Ok);
    ASSERT_TRUE(m_library.deletePresetFile(1));
    reloadAllPresetFiles(m_library);
    EXPECT_EQ(m_library.fileCount(), 2);
    EXPECT_FALSE(exists("Z.txt"));
}

TEST_F(Management, SubmittingAFileByMail) {
    const PresetFile& a = m_library.file(0);
    m_platform->showCursor(VXCursorKind::SizeAll);
    const VXCursorHandle before = m_platform->currentCursor();
    EXPECT_EQ(submitPresetFile(a), 0u);
    ASSERT_EQ(m_platform->mails().size(), 1u);
    const VXMailRequest& mail = m_platform->mails()[0];
    EXPECT_EQ(mail.recipientName, "SMTP: Submissions");
    EXPECT_EQ(mail.recipientAddress, std::string("SMTP:") + kSubmissionsAddress);
    EXPECT_EQ(mail.subject, "Morvessan Preset Submission");
    EXPECT_EQ(mail.text, "");
    EXPECT_EQ(mail.attachmentPath, pathOf("A.txt"));
    EXPECT_EQ(mail.attachmentName, "A.txt");
    EXPECT_EQ(messages().back().text, "The e-mail was successfully sent to Quellory.");
    EXPECT_EQ(messages().back().icon, VXMessageIcon::Information);
    EXPECT_EQ(m_platform->currentCursor(), before); // restored

    m_platform->setMailResult(2); // no mail library
    EXPECT_EQ(submitPresetFile(a), 2u);
    EXPECT_EQ(messages().back().text, "There was an error submitting the e-mail to Quellory.");
    EXPECT_EQ(messages().back().caption, "Mail Transport Erorr (2)");
    EXPECT_EQ(messages().back().icon, VXMessageIcon::Warning);
    EXPECT_EQ(m_platform->currentCursor(), before); // restored after a failure too
    EXPECT_EQ(read("A.txt"), categoryText("A", {"a1", "a2"}) + categoryText("B", {"b1"}));

    EXPECT_EQ(submitLocationLine(a),
              "Click Send to launch your default email program to send the email, or you may "
              "do it yourself. Note that the preset file is store at\n" +
                  a.path());
    EXPECT_NE(submitDescriptionLine(a).find("'A'"), std::string::npos);
    EXPECT_NE(submitDescriptionLine(a).find(kSubmissionsAddress), std::string::npos);

    // A file name may itself hold "%s": it is shown as it stands.
    PresetFile percent;
    percent.setPath(pathOf("50%sale.txt"));
    EXPECT_EQ(submitDescriptionLine(percent),
              std::string("To submit your presets, e-mail the preset file '50%sale' to ") + kSubmissionsAddress +
                  " together with a brief description of them.");
}

TEST_F(Management, DownloadOpensTheMorePresetsPage) {
    EXPECT_TRUE(openMorePresetsPage());
    ASSERT_EQ(m_platform->webPages().size(), 1u);
    EXPECT_EQ(m_platform->webPages()[0], std::string(kWebSite) + "products/morvessan/morepresets.htm");
}
