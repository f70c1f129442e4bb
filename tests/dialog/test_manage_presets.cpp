// The Manage Presets dialog without windows: the tree refreshed in place, items
// resolved back to entries, the drag feedback under the pointer, and the name loops.
#include "tests/presets/PresetTestSupport.h"

#include "dialog/PSMorvessanManagePresetsModel.h"
#include "dialog/PSMorvessanPresetTree.h"
#include "presets/PresetMessages.h"

#include <map>

using namespace morvessan;
using morvessan::testing::categoryText;
using Level = PresetTreeItem::Level;

namespace {

// A tree window stand-in: items keep their handle and expansion until removed.
class FakeTree : public PresetTreeView {
public:
    struct Node {
        PresetTreeNode shown;
        Item parent = 0;
        std::vector<Item> children;
        bool expanded = false;
    };

    Item firstChild(Item parent) override { return childAt(parent, 0); }
    Item nextSibling(Item item) override {
        const auto& siblings = childrenOf(m_nodes.at(item).parent);
        const auto at = std::find(siblings.begin(), siblings.end(), item) - siblings.begin();
        return childAt(m_nodes.at(item).parent, static_cast<std::size_t>(at) + 1);
    }
    void update(Item item, const PresetTreeNode& node) override { m_nodes.at(item).shown = node; }
    Item append(Item parent, const PresetTreeNode& node) override {
        const Item item = ++m_last;
        m_nodes[item] = Node{node, parent, {}, false};
        childrenOf(parent).push_back(item);
        return item;
    }
    void remove(Item item) override {
        for (Item child : std::vector<Item>(m_nodes.at(item).children)) {
            remove(child);
        }
        auto& siblings = childrenOf(m_nodes.at(item).parent);
        siblings.erase(std::find(siblings.begin(), siblings.end(), item));
        m_nodes.erase(item);
    }

    Node& node(Item item) { return m_nodes.at(item); }
    std::vector<Item>& childrenOf(Item parent) { return parent == 0 ? m_roots : m_nodes.at(parent).children; }
    // "text(children...)" for the whole tree, to compare shapes.
    std::string shape(Item parent = 0) {
        std::string out;
        for (Item item : childrenOf(parent)) {
            out += m_nodes.at(item).shown.text + "(" + shape(item) + ")";
        }
        return out;
    }
    std::vector<std::intptr_t> dataPath(Item item) {
        std::vector<std::intptr_t> path;
        for (; item != 0; item = m_nodes.at(item).parent) {
            path.insert(path.begin(), m_nodes.at(item).shown.data);
        }
        return path;
    }

private:
    Item childAt(Item parent, std::size_t index) {
        const auto& children = childrenOf(parent);
        return index < children.size() ? children[index] : 0;
    }

    std::map<Item, Node> m_nodes;
    std::vector<Item> m_roots;
    Item m_last = 0;
};

class ManagePresets : public morvessan::testing::PresetFolderTest {
protected:
    // A.txt [A: a1 a2, B: b1] and Z.txt [Z: z1].
    void SetUp() override {
        PresetFolderTest::SetUp();
        write("A.txt", categoryText("A", {"a1", "a2"}) + categoryText("B", {"b1"}));
        write("Z.txt", categoryText("Z", {"z1"}));
        m_library.discoverPresetFiles(TextureFields{});
        ASSERT_EQ(m_library.fileCount(), 2);
    }

    PresetLibrary m_library;
    PSMorvessanManagePresetsModel m_model{m_library};
};

} // namespace

TEST_F(ManagePresets, TheTreeIsRefreshedInPlaceAndItsItemsResolveToEntries) {
    FakeTree tree;
    refreshPresetTree(tree, m_library);
    EXPECT_EQ(tree.shape(), "A(A(a1()a2())B(b1()))Z(Z(z1()))");
    const auto fileA = tree.childrenOf(0)[0];
    const auto categoryB = tree.childrenOf(fileA)[1];
    const auto presetB1 = tree.childrenOf(categoryB)[0];
    const auto addressOfA = reinterpret_cast<std::intptr_t>(&m_library.file(0));
    EXPECT_EQ(tree.node(fileA).shown, (PresetTreeNode{"A", kFileImage, addressOfA}));
    EXPECT_EQ(tree.node(categoryB).shown, (PresetTreeNode{"B", kCategoryImage, 1}));
    EXPECT_EQ(tree.node(presetB1).shown, (PresetTreeNode{"b1", kPresetImage, 0}));
    EXPECT_EQ(resolvePresetTreeItem(m_library, tree.dataPath(presetB1)), (PresetTreeItem{Level::Preset, 0, 1, 0}));
    EXPECT_EQ(resolvePresetTreeItem(m_library, tree.dataPath(fileA)), (PresetTreeItem{Level::File, 0, -1, -1}));
    EXPECT_FALSE(resolvePresetTreeItem(m_library, {12345}));
    EXPECT_FALSE(resolvePresetTreeItem(m_library, {tree.node(fileA).shown.data, 2}));
    EXPECT_FALSE(resolvePresetTreeItem(m_library, {}));

    // Deleting the first category: the file's item and the first category's item
    // stay, with their expansion; the second category's item goes.
    tree.node(fileA).expanded = true;
    tree.node(tree.childrenOf(fileA)[0]).expanded = true;
    const auto firstCategory = tree.childrenOf(fileA)[0];
    m_model.select(PresetTreeItem{Level::Category, 0, 0, -1});
    ASSERT_TRUE(m_model.deleteSelected());
    EXPECT_FALSE(m_model.selection());
    refreshPresetTree(tree, m_library);
    EXPECT_EQ(tree.shape(), "A(B(b1()a1()a2()))Z(Z(z1()))");
    EXPECT_EQ(tree.childrenOf(0)[0], fileA);
    EXPECT_TRUE(tree.node(fileA).expanded);
    EXPECT_EQ(tree.childrenOf(fileA)[0], firstCategory);
    EXPECT_TRUE(tree.node(firstCategory).expanded);

    // A new file is appended; nothing before it is made anew.
    m_library.newPresetFile("New");
    const auto before = tree.childrenOf(0);
    refreshPresetTree(tree, m_library);
    EXPECT_EQ(tree.shape(), "A(B(b1()a1()a2()))Z(Z(z1()))New(Default())");
    EXPECT_TRUE(std::equal(before.begin(), before.end(), tree.childrenOf(0).begin()));
}

TEST_F(ManagePresets, DragFeedbackFollowsTheDropTableUnderThePointer) {
    const PresetTreeItem fileZ{Level::File, 1, -1, -1};
    const PresetTreeItem categoryA{Level::Category, 0, 0, -1};
    const PresetTreeItem categoryZ{Level::Category, 1, 0, -1};
    const PresetTreeItem presetA2{Level::Preset, 0, 0, 1};
    const PresetTreeItem presetZ1{Level::Preset, 1, 0, 0};
    using Feedback = PSMorvessanManagePresetsModel::DragFeedback;

    EXPECT_FALSE(m_model.beginDrag(fileZ));
    EXPECT_FALSE(m_model.dragging());
    EXPECT_EQ(m_model.dragOver(categoryA), Feedback{});

    ASSERT_TRUE(m_model.beginDrag(categoryA));
    EXPECT_EQ(m_model.dragOver(fileZ), (Feedback{fileZ, true}));
    EXPECT_EQ(m_model.dragOver(categoryZ), (Feedback{categoryZ, true}));
    EXPECT_EQ(m_model.dragOver(presetZ1), Feedback{});
    EXPECT_EQ(m_model.dragOver(categoryA), Feedback{});
    EXPECT_EQ(m_model.dragOver(std::nullopt), Feedback{});
    const std::string before = m_library.file(0).text() + m_library.file(1).text();
    EXPECT_FALSE(m_model.drop(presetZ1));
    EXPECT_FALSE(m_model.dragging());
    EXPECT_EQ(m_library.file(0).text() + m_library.file(1).text(), before);

    ASSERT_TRUE(m_model.beginDrag(presetA2));
    EXPECT_EQ(m_model.dragOver(presetZ1), (Feedback{presetZ1, true}));
    EXPECT_EQ(m_model.dragOver(presetA2), Feedback{});
    EXPECT_TRUE(m_model.drop(fileZ));
    EXPECT_EQ(m_library.file(1).presetName(0, 0), "a2");
    EXPECT_EQ(m_library.file(0).presetCount(0), 1);
    EXPECT_FALSE(m_model.drop(fileZ)) << "no drag after the drop";
}

TEST_F(ManagePresets, NameDialogsComeAgainAfterARefusalUntilCancel) {
    std::vector<std::optional<std::string>> answers{"A", "My.File", std::nullopt};
    int asked = 0;
    auto ask = [&]() { return answers.at(static_cast<std::size_t>(asked++)); };
    EXPECT_FALSE(m_model.addFile(ask));
    EXPECT_EQ(asked, 3);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].text, kFileNameUsed);
    EXPECT_EQ(m_library.fileCount(), 2);

    asked = 0;
    EXPECT_FALSE(m_model.addCategory(ask)) << "no selection: nothing asked";
    EXPECT_EQ(asked, 0);
    m_model.select(PresetTreeItem{Level::Preset, 1, 0, 0});
    EXPECT_EQ(m_model.previewPreset(), &m_library.file(1).preset(0, 0));
    EXPECT_EQ(m_model.submitFile(), &m_library.file(1));
    answers = {"Z", "Y"};
    EXPECT_TRUE(m_model.addCategory(ask));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(m_library.file(1).categoryName(1), "Y");
    m_model.select(PresetTreeItem{Level::Category, 1, 1, -1});
    EXPECT_EQ(m_model.previewPreset(), nullptr);
}
