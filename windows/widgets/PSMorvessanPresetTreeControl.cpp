// The preset tree: tree-view messages behind the PresetTreeView operations.
#include "windows/widgets/PSMorvessanPresetTreeControl.h"

#include <vector>

namespace morvessan {

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);
constexpr int kImageSize = 16;

HTREEITEM asItem(PresetTreeView::Item item) { return reinterpret_cast<HTREEITEM>(item); }

PresetTreeView::Item asHandle(HTREEITEM item) { return reinterpret_cast<PresetTreeView::Item>(item); }

} // namespace

LRESULT VXTreeControlNameEditBox::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) {
        return defaultProc(message, wParam, lParam) | DLGC_WANTALLKEYS;
    }
    return VXWnd::onMessage(message, wParam, lParam);
}

bool PSMorvessanPresetTreeControl::bind(HWND tree, int bitmapId) {
    if (!subclass(tree)) {
        return false;
    }
    m_images.reset(ImageList_LoadImageA(vxModuleInstance(), MAKEINTRESOURCEA(bitmapId), kImageSize, 0, kTransparent,
                                        IMAGE_BITMAP, LR_CREATEDIBSECTION));
    if (m_images) {
        SendMessageA(m_hwnd, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(m_images.get()));
    }
    return true;
}

PresetTreeView::Item PSMorvessanPresetTreeControl::firstChild(Item parent) {
    const WPARAM which = parent == 0 ? TVGN_ROOT : TVGN_CHILD;
    return static_cast<Item>(SendMessageA(m_hwnd, TVM_GETNEXTITEM, which, parent));
}

PresetTreeView::Item PSMorvessanPresetTreeControl::nextSibling(Item item) {
    return static_cast<Item>(SendMessageA(m_hwnd, TVM_GETNEXTITEM, TVGN_NEXT, item));
}

void PSMorvessanPresetTreeControl::update(Item item, const PresetTreeNode& node) {
    std::vector<char> text(node.text.begin(), node.text.end());
    text.push_back('\0');
    TVITEMA tv{};
    tv.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    tv.hItem = asItem(item);
    tv.pszText = text.data();
    tv.iImage = node.image;
    tv.iSelectedImage = node.image;
    tv.lParam = node.data;
    SendMessageA(m_hwnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

PresetTreeView::Item PSMorvessanPresetTreeControl::append(Item parent, const PresetTreeNode& node) {
    std::vector<char> text(node.text.begin(), node.text.end());
    text.push_back('\0');
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent == 0 ? TVI_ROOT : asItem(parent);
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = text.data();
    insert.item.iImage = node.image;
    insert.item.iSelectedImage = node.image;
    insert.item.lParam = node.data;
    return static_cast<Item>(SendMessageA(m_hwnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void PSMorvessanPresetTreeControl::remove(Item item) { SendMessageA(m_hwnd, TVM_DELETEITEM, 0, item); }

void PSMorvessanPresetTreeControl::refresh(const PresetLibrary& library) {
    refreshPresetTree(*this, library);
    showExpandButtons(0);
}

void PSMorvessanPresetTreeControl::showExpandButtons(Item parent) {
    for (Item item = firstChild(parent); item != 0; item = nextSibling(item)) {
        TVITEMA tv{};
        tv.mask = TVIF_CHILDREN;
        tv.hItem = asItem(item);
        tv.cChildren = firstChild(item) != 0 ? 1 : 0;
        SendMessageA(m_hwnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        showExpandButtons(item);
    }
}

std::optional<PresetTreeItem> PSMorvessanPresetTreeControl::entryOf(HTREEITEM item,
                                                                    const PresetLibrary& library) const {
    std::vector<std::intptr_t> path;
    for (Item at = asHandle(item); at != 0;
         at = static_cast<Item>(SendMessageA(m_hwnd, TVM_GETNEXTITEM, TVGN_PARENT, at))) {
        TVITEMA tv{};
        tv.mask = TVIF_PARAM;
        tv.hItem = asItem(at);
        if (!SendMessageA(m_hwnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) {
            return std::nullopt;
        }
        path.insert(path.begin(), tv.lParam);
    }
    return resolvePresetTreeItem(library, path);
}

HTREEITEM PSMorvessanPresetTreeControl::selectedItem() const {
    return reinterpret_cast<HTREEITEM>(SendMessageA(m_hwnd, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

HTREEITEM PSMorvessanPresetTreeControl::itemAt(POINT screen) const {
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(m_hwnd, &hit.pt);
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(m_hwnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & (TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT | TVHT_ONITEMBUTTON)) ? item : nullptr;
}

void PSMorvessanPresetTreeControl::setDropHighlight(HTREEITEM item) {
    SendMessageA(m_hwnd, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(item));
}

LRESULT PSMorvessanPresetTreeControl::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_F2) {
        if (HTREEITEM item = selectedItem()) {
            SendMessageA(m_hwnd, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item));
        }
        return 0;
    }
    return VXWnd::onMessage(message, wParam, lParam);
}

void PSMorvessanPresetTreeControl::editStarted() {
    m_edit.detach();
    if (HWND edit = reinterpret_cast<HWND>(SendMessageA(m_hwnd, TVM_GETEDITCONTROL, 0, 0))) {
        m_edit.subclass(edit);
    }
}

} // namespace morvessan
