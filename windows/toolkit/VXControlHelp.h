// Pop-up help of a dialog control: its text from a help file's text topic,
// found through a table of control and help ids, in the compiled-help viewer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace morvessan {

// Shows the pop-up of the control that WM_HELP names, from `topicPath` (the help
// file followed by "::/Text/....txt"), with `idPairs` (control id, help id, ...,
// ending in two zeros) telling the viewer which text belongs to which control.
// False when the viewer cannot be loaded or the request is not about a window.
bool vxShowControlHelp(const HELPINFO& info, const std::string& topicPath, const std::vector<std::uint32_t>& idPairs);

} // namespace morvessan
