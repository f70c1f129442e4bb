// The stand-in for a build that carries no dialog.
#include "plugin/PSMorvessanDialogRunner.h"

namespace morvessan {

std::string PSMorvessanNoDialog::Unavailable() const {
    return "The Morvessan dialog is not available in this build; run the filter without a dialog.";
}

} // namespace morvessan
