// The Manage Presets tree without its window: what each item shows, how a
// window's items are brought up to date in place, and which entry an item stands for.
#pragma once

#include "presets/PresetLibrary.h"
#include "presets/PresetManagement.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvessan {

// Images of the tree's 16-pixel strip.
enum PresetTreeImage : int { kCategoryImage = 0, kPresetImage = 1, kFileImage = 2 };

// What one item shows and carries: a file's item carries the file's address, a
// category's its index in the file, a preset's its index in the category.
struct PresetTreeNode {
    std::string text;
    int image = kFileImage;
    std::intptr_t data = 0;

    bool operator==(const PresetTreeNode&) const = default;
};

// The items of a tree window, addressed by handles (0 is the root, and "none").
class PresetTreeView {
public:
    using Item = std::intptr_t;

    virtual ~PresetTreeView() = default;
    virtual Item firstChild(Item parent) = 0;
    virtual Item nextSibling(Item item) = 0;
    virtual void update(Item item, const PresetTreeNode& node) = 0;
    // Appends after the last child of `parent`; returns the new item (0 on failure).
    virtual Item append(Item parent, const PresetTreeNode& node) = 0;
    virtual void remove(Item item) = 0;
};

// The three levels' nodes.
PresetTreeNode fileNode(const PresetFile& file);
PresetTreeNode categoryNode(const PresetFile& file, int category);
PresetTreeNode presetNode(const PresetFile& file, int category, int preset);

// Brings `view` up to date with `library`, level by level: existing items take
// the texts and data of the entries at their places, missing items are appended
// and surplus ones removed, so an item that survives keeps its expansion.
void refreshPresetTree(PresetTreeView& view, const PresetLibrary& library);

// The entry of an item from the data of the items from the top level down to it
// (one value per level); nothing when the path does not fit the library.
std::optional<PresetTreeItem> resolvePresetTreeItem(const PresetLibrary& library,
                                                    const std::vector<std::intptr_t>& dataPath);

} // namespace morvessan
