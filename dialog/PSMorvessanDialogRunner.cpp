// The stand-in for a build that carries no dialog (the Windows build has its
// own runner in windows/dialogs/).
#include "dialog/PSMorvessanDialogRunner.h"

namespace morvessan {

std::string PSMorvessanNoDialog::Unavailable() const {
    return "The Morvessan dialog is not available in this build; run the filter without a dialog.";
}

#if !defined(_WIN32)
std::unique_ptr<PSMorvessanDialogRunner> makeNativeDialogRunner() { return std::make_unique<PSMorvessanNoDialog>(); }
#endif

} // namespace morvessan
