// What a program that links the plug-in in may set on the module's one plug-in
// object without seeing the object itself: the dialog its interactive runs show.
#pragma once

#include "dialog/PSMorvessanDialogRunner.h"

#include <memory>

namespace morvessan {

// The dialog the module's plug-in object shows from now on (null: the build's own).
void setModuleDialogRunner(std::unique_ptr<PSMorvessanDialogRunner> runner);

} // namespace morvessan
