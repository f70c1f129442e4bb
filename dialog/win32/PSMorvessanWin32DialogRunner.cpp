// The Windows module's dialogs: the main dialog over the host's window, whose
// input is given back however the dialog ends.
#include "dialog/win32/PSMorvessanWin32DialogRunner.h"

#include "dialog/win32/PSMorvessanPluginDialog.h"
#include "dialog/win32/VXPSColourDialog.h"
#include "plugin/PSMorvessanPlugin.h"
#include "plugin/VXPSErrors.h"
#include "widgets/VXToolkitClasses.h"

namespace morvessan {

namespace {

// The host's main window: the one the host names in its record, else the active window.
HWND hostWindow(PSMorvessanPlugin& plugin) {
    const FilterRecord* record = plugin.GetFilterRecord();
    if (record && record->platformData) {
        const auto* platform = static_cast<const PlatformData*>(record->platformData);
        HWND window = reinterpret_cast<HWND>(platform->hwnd);
        if (window && IsWindow(window)) {
            return window;
        }
    }
    return GetActiveWindow();
}

} // namespace

bool PSMorvessanWin32DialogRunner::RunDialog(PSMorvessanPlugin& plugin) {
    VXToolkitClasses classes;
    m_host_window = hostWindow(plugin);
    PSMorvessanPluginDialog dialog(plugin);
    const INT_PTR result = dialog.doModal(m_host_window);
    if (result == -1) {
        vxThrowMessage("The Morvessan dialog could not be opened.");
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
