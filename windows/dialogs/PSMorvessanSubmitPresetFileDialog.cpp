// The Submit Preset File dialog: its two lines filled with the file's name and path.
#include "windows/dialogs/PSMorvessanSubmitPresetFileDialog.h"

#include "dialog/PSMorvessanManagePresetsModel.h"
#include "dialog/PSMorvessanDialogServices.h"
#include "presets/PresetLibrary.h"
#include "presets/PresetManagement.h"
#include "resources/dialogs/DialogIds.h"

namespace morvessan {

PSMorvessanSubmitPresetFileDialog::PSMorvessanSubmitPresetFileDialog(PSMorvessanDialogServices& services,
                                                                     const PresetFile& file)
    : VXPSPluginDialog(IDD_SUBMIT_PRESET_FILE), m_services(services), m_file(file) {}

bool PSMorvessanSubmitPresetFileDialog::run(HWND owner) { return doModal(owner) == IDOK; }

bool PSMorvessanSubmitPresetFileDialog::onInitDialog() {
    VXPSPluginDialog::onInitDialog();
    setItemText(IDC_SUBMIT_DESCRIPTION, submitDescriptionLine(m_file).c_str());
    setItemText(IDC_SUBMIT_LOCATION, submitLocationLine(m_file).c_str());
    return true;
}

bool PSMorvessanSubmitPresetFileDialog::onCommand(int id, int code, HWND control) {
    if (id == IDHELP) {
        m_services.ShowHelpTopic(PSMorvessanManagePresetsModel::kSubmissionTopic);
        return true;
    }
    return VXPSPluginDialog::onCommand(id, code, control);
}

std::optional<LRESULT> PSMorvessanSubmitPresetFileDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HELP) {
        m_services.ShowHelpTopic(PSMorvessanManagePresetsModel::kSubmissionTopic);
        return TRUE;
    }
    return VXPSPluginDialog::onMessage(message, wParam, lParam);
}

} // namespace morvessan
