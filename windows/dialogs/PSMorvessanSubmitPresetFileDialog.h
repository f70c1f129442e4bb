// PSMorvessanSubmitPresetFileDialog: tells the user how a preset file is
// submitted (its name, the address, where it is stored) and asks whether to send it.
#pragma once

#include "windows/dialogs/VXPSPluginDialog.h"

namespace morvessan {

class PSMorvessanDialogServices;
class PresetFile;

class PSMorvessanSubmitPresetFileDialog : public VXPSPluginDialog {
public:
    PSMorvessanSubmitPresetFileDialog(PSMorvessanDialogServices& services, const PresetFile& file);
    // True when the user chose "Send".
    bool run(HWND owner);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    PSMorvessanDialogServices& m_services;
    const PresetFile& m_file;
};

} // namespace morvessan
