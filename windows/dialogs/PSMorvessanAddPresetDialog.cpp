// The name entry dialog: its title and label follow the mode; the name comes back as typed.
#include "windows/dialogs/PSMorvessanAddPresetDialog.h"

#include "windows/dialogs/PSMorvessanControlHelp.h"
#include "dialog/PSMorvessanDialogServices.h"
#include "resources/dialogs/DialogIds.h"

#include <vector>

namespace morvessan {

PSMorvessanAddPresetDialog::PSMorvessanAddPresetDialog(PSMorvessanDialogServices& services, Mode mode, std::string name)
    : VXPSPluginDialog(IDD_ADD_PRESET), m_services(services), m_mode(mode), m_name(std::move(name)) {}

std::optional<std::string> PSMorvessanAddPresetDialog::run(HWND owner) {
    if (doModal(owner) != IDOK) {
        return std::nullopt;
    }
    return m_name;
}

bool PSMorvessanAddPresetDialog::onInitDialog() {
    VXPSPluginDialog::onInitDialog();
    if (m_mode == kPresetFile) {
        SetWindowTextA(m_hwnd, "Add Preset File");
        setItemText(IDC_NAME_LABEL, "File Name:");
    } else if (m_mode == kCategory) {
        SetWindowTextA(m_hwnd, "Add Category");
        setItemText(IDC_NAME_LABEL, "Category Name:");
    }
    setItemText(IDC_NAME, m_name.c_str());
    SendMessageA(item(IDC_NAME), EM_SETSEL, 0, -1);
    SetFocus(item(IDC_NAME));
    return false;
}

bool PSMorvessanAddPresetDialog::onCommand(int id, int code, HWND control) {
    if (id == IDOK) {
        HWND edit = item(IDC_NAME);
        std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
        GetWindowTextA(edit, text.data(), static_cast<int>(text.size()));
        m_name = text.data();
    } else if (id == IDHELP) {
        m_services.ShowHelpTopic("::/Texture_Management.htm");
        return true;
    }
    return VXPSPluginDialog::onCommand(id, code, control);
}

std::optional<LRESULT> PSMorvessanAddPresetDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HELP) {
        showPluginControlHelp(m_services, *reinterpret_cast<const HELPINFO*>(lParam), "::/Text/AddPresetDialog.txt");
        return TRUE;
    }
    return VXPSPluginDialog::onMessage(message, wParam, lParam);
}

} // namespace morvessan
