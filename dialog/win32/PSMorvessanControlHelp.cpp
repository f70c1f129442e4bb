// Finds a topic's help ids and the plug-in's help file, and leaves the pop-up to the toolkit.
#include "dialog/win32/PSMorvessanControlHelp.h"

#include "dialog/PSMorvessanHelpIds.h"
#include "dialog/PSMorvessanEditingSession.h"
#include "ui/win32/VXControlHelp.h"

namespace morvessan {

bool showPluginControlHelp(PSMorvessanEditingSession& session, const HELPINFO& info, const std::string& topic) {
    const PSMorvessanHelpTable* table = helpTable(topic);
    if (!table) {
        return false;
    }
    std::string path;
    session.GetHelpFilePath(path);
    return vxShowControlHelp(info, path + topic, helpIdPairs(*table));
}

} // namespace morvessan
