// Shared behaviour of the main dialog's pages.
#include "windows/dialogs/PSMorvessanPage.h"

#include "windows/dialogs/PSMorvessanPluginDialog.h"
#include "windows/toolkit/VXWnd.h"

#include <string>
#include <vector>

namespace morvessan {

PSMorvessanPage::PSMorvessanPage(int templateId, PSMorvessanPluginDialog& owner)
    : VXPSPluginDialog(templateId), m_owner(owner) {
    setSkinSource(&owner);
}

bool PSMorvessanPage::createIn(HWND parent, const RECT& rect) {
    if (!create(parent)) {
        return false;
    }
    SetWindowPos(m_hwnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

bool PSMorvessanPage::onInitDialog() {
    VXPSPluginDialog::onInitDialog();
    addToolTipsFromStrings();
    return false;
}

void PSMorvessanPage::addToolTipsFromStrings() { m_tooltips.addFromStrings(m_hwnd); }

void PSMorvessanPage::apply(unsigned changes) { m_owner.apply(changes); }

void PSMorvessanPage::fillCombo(int id, const std::vector<std::string>& names, int index) const {
    HWND combo = item(id);
    SendMessageA(combo, WM_SETREDRAW, FALSE, 0);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : names) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(combo, nullptr, TRUE);
}

std::optional<LRESULT> PSMorvessanPage::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Scroll, notify and help messages of a page's controls go through the page;
    // help is answered by the main dialog with the page's topic.
    if (message == WM_HELP) {
        return m_owner.onPageHelp(*this, reinterpret_cast<const HELPINFO*>(lParam));
    }
    return VXPSPluginDialog::onMessage(message, wParam, lParam);
}

} // namespace morvessan
