// The Manage Presets tree's nodes, the in-place refresh and the resolving of
// an item back to the file, category and preset it stands for.
#include "dialog/PSMorvessanPresetTree.h"

#include <functional>

namespace morvessan {

namespace {

// Makes the children of `parent` show `count` nodes: reuses the items in place,
// appends the missing ones, removes the rest. `fill` then does the same one level down.
void refreshLevel(PresetTreeView& view, PresetTreeView::Item parent, int count,
                  const std::function<PresetTreeNode(int)>& node,
                  const std::function<void(PresetTreeView::Item, int)>& fill) {
    PresetTreeView::Item item = view.firstChild(parent);
    int index = 0;
    for (; index < count && item != 0; ++index) {
        view.update(item, node(index));
        fill(item, index);
        item = view.nextSibling(item);
    }
    while (item != 0) {
        const PresetTreeView::Item next = view.nextSibling(item);
        view.remove(item);
        item = next;
    }
    for (; index < count; ++index) {
        const PresetTreeView::Item added = view.append(parent, node(index));
        if (added == 0) {
            return;
        }
        fill(added, index);
    }
}

} // namespace

PresetTreeNode fileNode(const PresetFile& file) {
    return PresetTreeNode{file.name(), kFileImage, reinterpret_cast<std::intptr_t>(&file)};
}

PresetTreeNode categoryNode(const PresetFile& file, int category) {
    return PresetTreeNode{file.categoryName(category), kCategoryImage, category};
}

PresetTreeNode presetNode(const PresetFile& file, int category, int preset) {
    return PresetTreeNode{file.presetName(category, preset), kPresetImage, preset};
}

void refreshPresetTree(PresetTreeView& view, const PresetLibrary& library) {
    refreshLevel(
        view, 0, library.fileCount(), [&](int f) { return fileNode(library.file(f)); },
        [&](PresetTreeView::Item fileItem, int f) {
            const PresetFile& file = library.file(f);
            refreshLevel(
                view, fileItem, file.categoryCount(), [&](int c) { return categoryNode(file, c); },
                [&](PresetTreeView::Item categoryItem, int c) {
                    refreshLevel(
                        view, categoryItem, file.presetCount(c), [&](int p) { return presetNode(file, c, p); },
                        [](PresetTreeView::Item, int) {});
                });
        });
}

std::optional<PresetTreeItem> resolvePresetTreeItem(const PresetLibrary& library,
                                                    const std::vector<std::intptr_t>& dataPath) {
    if (dataPath.empty() || dataPath.size() > 3) {
        return std::nullopt;
    }
    PresetTreeItem item;
    item.file = -1;
    for (int i = 0; i < library.fileCount(); ++i) {
        if (reinterpret_cast<std::intptr_t>(&library.file(i)) == dataPath[0]) {
            item.file = i;
            break;
        }
    }
    if (item.file < 0) {
        return std::nullopt;
    }
    const PresetFile& file = library.file(item.file);
    if (dataPath.size() >= 2) {
        item.level = PresetTreeItem::Level::Category;
        item.category = static_cast<int>(dataPath[1]);
        if (dataPath[1] < 0 || dataPath[1] >= file.categoryCount()) {
            return std::nullopt;
        }
    }
    if (dataPath.size() == 3) {
        item.level = PresetTreeItem::Level::Preset;
        item.preset = static_cast<int>(dataPath[2]);
        if (dataPath[2] < 0 || dataPath[2] >= file.presetCount(item.category)) {
            return std::nullopt;
        }
    }
    return item;
}

} // namespace morvessan
