// PSMorvessanWin32DialogRunner: how the Windows module shows its dialogs: the
// main dialog modally over the host's window, and the colour picker.
#pragma once

#include "dialog/PSMorvessanDialogRunner.h"

#include <windows.h>

namespace morvessan {

class PSMorvessanWin32DialogRunner : public PSMorvessanDialogRunner {
public:
    bool RunDialog(PSMorvessanEditingSession& session) override;
    void EnableHostWindow() override;
    bool ChooseColour(std::uint32_t& colour) override;

private:
    HWND m_host_window = nullptr;
};

} // namespace morvessan
