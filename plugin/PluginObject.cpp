// The module's one plug-in object, constructed when the library is loaded.
#include "plugin/PluginMain.h"

namespace morvessan {

namespace {
VXPSPlugin g_plugin;
} // namespace

VXPSPlugin& vxPluginObject() {
    return g_plugin;
}

} // namespace morvessan
