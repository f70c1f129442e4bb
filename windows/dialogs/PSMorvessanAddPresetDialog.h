// PSMorvessanAddPresetDialog: the name entry dialog: a label, the name and
// OK, Cancel and "&Help", titled for a new preset file, category or preset.
#pragma once

#include "windows/dialogs/VXPSPluginDialog.h"

#include <optional>
#include <string>

namespace morvessan {

class PSMorvessanDialogServices;

class PSMorvessanAddPresetDialog : public VXPSPluginDialog {
public:
    enum Mode { kPresetFile = 0, kCategory = 1, kPreset = 2 };

    PSMorvessanAddPresetDialog(PSMorvessanDialogServices& services, Mode mode, std::string name);
    // The name typed, unchanged, or nothing on Cancel.
    std::optional<std::string> run(HWND owner);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    PSMorvessanDialogServices& m_services;
    Mode m_mode;
    std::string m_name;
};

} // namespace morvessan
