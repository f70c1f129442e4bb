// Pop-up help of this plug-in's dialog controls: the texts of a help topic of the
// plug-in's help file, with that topic's table of control and help ids.
#pragma once

#include <windows.h>

#include <string>

namespace morvessan {

class PSMorvessanDialogServices;

// Shows the pop-up of the control that WM_HELP names, from `topic` ("::/Text/....txt")
// of the plug-in's help file, with that topic's table of help ids. False when the
// viewer cannot be loaded or the topic has no table.
bool showPluginControlHelp(PSMorvessanDialogServices& services, const HELPINFO& info, const std::string& topic);

} // namespace morvessan
