// What a program may set on the module from outside: the folders, through the
// environment, and when it links the plug-in in, the dialog its runs show.
#pragma once

#include "dialog/PSMorvessanDialogRunner.h"

#include <memory>

namespace morvessan {

// Environment variables naming the folders the plug-in reads its preset files
// and texture pictures from instead of those beside the module; unset or empty,
// the module's own are used. Read at every Start, so a program sets them before
// it runs the filter, whether the plug-in is linked in or loaded from a file.
inline constexpr const char* kPresetFolderVariable = "MORVESSAN_PRESET_FOLDER";
inline constexpr const char* kTextureFolderVariable = "MORVESSAN_TEXTURE_FOLDER";

// The dialog the module's plug-in object shows from now on (null: the build's own).
void setModuleDialogRunner(std::unique_ptr<PSMorvessanDialogRunner> runner);

} // namespace morvessan
