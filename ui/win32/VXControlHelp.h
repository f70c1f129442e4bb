// Pop-up help of a dialog control: its text from a help file's text topic,
// found through a table of control and help ids, in the compiled-help viewer.
#pragma once

#include <windows.h>

#include <string>

namespace morvessan {

class PSMorvessanPlugin;

// Shows the pop-up of the control that WM_HELP names, from `topic` ("::/Text/....txt")
// of the plug-in's help file, with that topic's table of help ids. False when the
// viewer cannot be loaded or the topic has no table.
bool vxShowControlHelp(PSMorvessanPlugin& plugin, const HELPINFO& info, const std::string& topic);

} // namespace morvessan
