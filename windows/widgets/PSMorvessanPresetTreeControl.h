// PSMorvessanPresetTreeControl: the Manage Presets tree over a standard tree
// view: the three item images, items kept up to date in place, the item under the
// pointer, the drop highlight, and in-place editing that keeps the dialog open.
#pragma once

#include "dialog/PSMorvessanPresetTree.h"
#include "windows/toolkit/VXWnd.h"

#include <commctrl.h>

#include <memory>
#include <optional>
#include <type_traits>

namespace morvessan {

// The edit box of an in-place edit: it asks the dialog for every key, so that
// Enter and Escape end the edit instead of pressing OK or Cancel.
class VXTreeControlNameEditBox : public VXWnd {
protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class PSMorvessanPresetTreeControl : public VXWnd, public PresetTreeView {
public:
    // Binds the template's tree view and gives it the image strip `bitmapId`.
    bool bind(HWND tree, int bitmapId);

    // Brings the items up to date with `library` in place; an item shows an
    // expand button while it has children.
    void refresh(const PresetLibrary& library);

    Item firstChild(Item parent) override;
    Item nextSibling(Item item) override;
    void update(Item item, const PresetTreeNode& node) override;
    Item append(Item parent, const PresetTreeNode& node) override;
    void remove(Item item) override;

    // The entry `item` stands for; nothing for no item.
    std::optional<PresetTreeItem> entryOf(HTREEITEM item, const PresetLibrary& library) const;
    HTREEITEM selectedItem() const;
    // The item under `screen` (its label, image or the row's indent), or null.
    HTREEITEM itemAt(POINT screen) const;
    // Shows `item` as the drop target; null shows none.
    void setDropHighlight(HTREEITEM item);
    // An in-place edit has begun: its edit box now asks for every key.
    void editStarted();

protected:
    // F2 edits the selected item's name, as in the system's file views.
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void showExpandButtons(Item parent);

    struct ImageListDeleter {
        void operator()(std::remove_pointer_t<HIMAGELIST>* list) const { ImageList_Destroy(list); }
    };

    VXTreeControlNameEditBox m_edit;
    std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter> m_images;
};

} // namespace morvessan
