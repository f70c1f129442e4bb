// The exported entry point: every host call goes to the one plug-in object.
#include "plugin/PluginMain.h"

#include "renderer/RenderThreads.h"

namespace morvessan {

namespace {
VXPSPlugin* g_override = nullptr;
} // namespace

VXPSPlugin* vxSetPluginOverride(VXPSPlugin* plugin) {
    VXPSPlugin* previous = g_override;
    g_override = plugin;
    return previous;
}

} // namespace morvessan

MORVESSAN_EXPORT void PluginMain(morvessan::int16 selector, morvessan::FilterRecord* record, std::intptr_t* data,
                                 morvessan::int16* result) {
    using namespace morvessan;
    const RenderThreadSession threads; // the render threads end with the host's call
    VXPSPlugin& plugin = g_override ? *g_override : vxPluginObject();
    plugin.Dispatch(selector, record, data, result);
}
