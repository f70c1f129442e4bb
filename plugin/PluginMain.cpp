// The exported entry point: every host call goes to the one plug-in object, one
// call at a time, in the plug-in's own floating-point environment.
#include "plugin/PluginMain.h"

#include "VXLib/VXUTIL/VXFloatingPoint.h"
#include "plugin/VXPSErrors.h"
#include "renderer/RenderThreads.h"

#include <mutex>

namespace morvessan {

namespace {

VXPSPlugin* g_override = nullptr;

// The plug-in object keeps the record, result and locks of the call it serves, and
// a run's state between selectors: calls from several threads take turns, which
// gives each document the pixels it would get alone.
std::mutex g_calls;
// A call made from inside one (a progress or abort callback that shows About, asks
// for Parameters or starts another run) would overwrite the running call's state.
thread_local bool t_in_call = false;

constexpr const char* kBusyMessage = "Morvessan is already filtering an image. Try again when it has finished.";

// A call that arrives while this thread is inside one: refused with the host's
// error and the reason, touching nothing of the running call.
void refuseNestedCall(FilterRecord* record, int16* result) {
    if (!result) {
        return;
    }
    if (record && record->errorString) {
        vxStorePascalString(*record->errorString, kBusyMessage);
        *result = errReportString;
    } else {
        *result = filterBadParameters;
    }
}

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
    const VXFloatingPointScope floatingPoint;
    // About shows nothing and keeps nothing: it is answered at once, from any
    // thread and inside any other call, without looking at the record it is given.
    if (selector == filterSelectorAbout) {
        if (result) {
            *result = noErr;
        }
        return;
    }
    if (t_in_call) {
        refuseNestedCall(record, result);
        return;
    }
    const std::lock_guard<std::mutex> turn(g_calls);
    t_in_call = true;
    struct Leave {
        ~Leave() { t_in_call = false; }
    } leave;
    const RenderThreadSession threads; // the render threads end with the host's call
    VXPSPlugin& plugin = g_override ? *g_override : vxPluginObject();
    plugin.Dispatch(selector, record, data, result);
}
