// The preset page: the three pickers bound to their model.
#include "windows/dialogs/PSMorvessanPresetChild.h"

#include "dialog/PSMorvessanChange.h"
#include "resources/dialogs/DialogIds.h"

namespace morvessan {

PSMorvessanPresetChild::PSMorvessanPresetChild(PSMorvessanPluginDialog& owner, PSMorvessanPresetChildModel& model)
    : PSMorvessanPage(IDD_PRESET_PAGE, owner), m_model(model), m_presets(m_list_colours) {}

bool PSMorvessanPresetChild::onInitDialog() {
    PSMorvessanPage::onInitDialog();
    m_presets.attach(item(IDC_PRESET_LIST));
    // Two thumbnails across; the caption line comes out of the square.
    const RECT list = m_presets.clientRect();
    const int cell = (list.right - list.left) / 2;
    m_presets.setCellSize(cell, cell);
    return false;
}

void PSMorvessanPresetChild::refresh(unsigned changes) {
    if (changes & kChangeFileList) {
        fillCombo(IDC_PRESET_FILE, m_model.fileNames(), m_model.selectedFile());
    }
    if (changes & kChangeCategoryList) {
        HWND list = item(IDC_CATEGORY);
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        for (const std::string& name : m_model.categoryNames()) {
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(m_model.selectedCategory()), 0);
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
    if (changes & kChangePresetList) {
        m_presets.fill(m_model);
    }
}

bool PSMorvessanPresetChild::onCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_PRESET_FILE:
        if (code == CBN_SELCHANGE) {
            apply(m_model.chooseFile(static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0))));
        }
        return true;
    case IDC_CATEGORY:
        if (code == LBN_SELCHANGE) {
            apply(m_model.chooseCategory(static_cast<int>(SendMessageA(control, LB_GETCURSEL, 0, 0))));
        }
        return true;
    case IDC_PRESET_LIST:
        if (code == VXGridControl::kSelectionChanged) {
            apply(m_model.choosePreset(m_presets.selected()));
        }
        return true;
    default: break;
    }
    return PSMorvessanPage::onCommand(id, code, control);
}

} // namespace morvessan
