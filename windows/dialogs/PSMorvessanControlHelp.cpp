// Finds a topic's help ids and the plug-in's help file, and leaves the pop-up to the toolkit.
#include "windows/dialogs/PSMorvessanControlHelp.h"

#include "dialog/PSMorvessanHelpIds.h"
#include "dialog/PSMorvessanDialogServices.h"
#include "windows/toolkit/VXControlHelp.h"

namespace morvessan {

bool showPluginControlHelp(PSMorvessanDialogServices& services, const HELPINFO& info, const std::string& topic) {
    const PSMorvessanHelpTable* table = helpTable(topic);
    if (!table) {
        return false;
    }
    std::string path;
    services.GetHelpFilePath(path);
    return vxShowControlHelp(info, path + topic, helpIdPairs(*table));
}

} // namespace morvessan
