// Finding and reading windows from outside, as the window tests drive the
// dialogs from a second thread or process.
#pragma once

#include <windows.h>

#include <string>

namespace morvessan {

// The visible control `id` anywhere below `root` (pages are child dialogs), or null.
HWND findControl(HWND root, int id);
std::string windowText(HWND window);

} // namespace morvessan
