// PluginMain, the one function the module exports, and the choice of the plug-in
// object it serves (the module's own, or a test's filter).
#pragma once

#include "plugin/HostInterface.h"
#include "plugin/VXPSPlugin.h"

#if defined(_WIN32)
#define MORVESSAN_EXPORT extern "C" __declspec(dllexport)
#else
#define MORVESSAN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Called by the host once per selector. For About, `record` points to an AboutRecord.
MORVESSAN_EXPORT void PluginMain(morvessan::int16 selector, morvessan::FilterRecord* record, std::intptr_t* data,
                                 morvessan::int16* result);

namespace morvessan {

using PluginEntry = void (*)(int16 selector, FilterRecord* record, std::intptr_t* data, int16* result);

// The object PluginMain serves: the module's one static plug-in object.
VXPSPlugin& vxPluginObject();

// Lets a test put its own filter behind PluginMain; null restores the module's
// object. Returns the previous override.
VXPSPlugin* vxSetPluginOverride(VXPSPlugin* plugin);

} // namespace morvessan
