// The Windows module's dialogs: the main dialog over the host's window, whose
// input is given back however the dialog ends.
#include "windows/dialogs/PSMorvessanWin32DialogRunner.h"

#include "dialog/PSMorvessanEditingSession.h"
#include "windows/dialogs/PSMorvessanPluginDialog.h"
#include "windows/dialogs/VXPSColourDialog.h"
#include "windows/widgets/VXToolkitClasses.h"

#include <stdexcept>

namespace morvessan {

namespace {

// The host's main window: the one the host names in its record, else the active window.
HWND hostWindow(const PSMorvessanDialogServices& services) {
    HWND window = reinterpret_cast<HWND>(services.GetHostWindow());
    return window && IsWindow(window) ? window : GetActiveWindow();
}

} // namespace

bool PSMorvessanWin32DialogRunner::RunDialog(PSMorvessanEditingSession& session) {
    VXToolkitClasses classes;
    m_host_window = hostWindow(session);
    PSMorvessanPluginDialog dialog(session);
    const INT_PTR result = dialog.doModal(m_host_window);
    if (result == -1) {
        throw std::runtime_error("The Morvessan dialog could not be opened.");
    }
    return result == IDOK;
}

void PSMorvessanWin32DialogRunner::EnableHostWindow() {
    if (m_host_window && IsWindow(m_host_window)) {
        EnableWindow(m_host_window, TRUE);
    }
}

bool PSMorvessanWin32DialogRunner::ChooseColour(std::uint32_t& colour) {
    return VXPSColourDialog::pickColour(GetActiveWindow(), colour);
}

std::unique_ptr<PSMorvessanDialogRunner> makeNativeDialogRunner() {
    return std::make_unique<PSMorvessanWin32DialogRunner>();
}

} // namespace morvessan
