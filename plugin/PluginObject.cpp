// The module's one plug-in object, constructed when the library is loaded and
// destroyed when it is unloaded.
#include "plugin/PSMorvessanModuleSettings.h"
#include "plugin/PSMorvessanPlugin.h"
#include "plugin/PluginMain.h"

namespace morvessan {

namespace {
PSMorvessanPlugin g_plugin;
} // namespace

PSMorvessanPlugin& morvessanPlugin() { return g_plugin; }

VXPSPlugin& vxPluginObject() { return g_plugin; }

void setModuleDialogRunner(std::unique_ptr<PSMorvessanDialogRunner> runner) {
    g_plugin.SetDialogRunner(std::move(runner));
}

} // namespace morvessan
