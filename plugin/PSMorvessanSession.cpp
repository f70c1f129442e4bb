// The parts of the editing session the plug-in answers from the host's record
// and the startup log rather than from its own members.
#include "plugin/HostInterface.h"
#include "plugin/PSMorvessanPlugin.h"
#include "plugin/StartupLog.h"

namespace morvessan {

std::intptr_t PSMorvessanPlugin::GetHostWindow() const {
    const FilterRecord* record = GetFilterRecord();
    if (!record || !record->platformData) {
        return 0;
    }
    return static_cast<const PlatformData*>(record->platformData)->hwnd;
}

void PSMorvessanPlugin::LogTiming(const std::string& format) { startupLog().AppendTiming(format); }

void PSMorvessanPlugin::LogTiming(const std::string& format, std::int32_t milliseconds) {
    startupLog().AppendTiming(format, milliseconds);
}

void PSMorvessanPlugin::FinishStartupLog() { startupLog().FinishStartupTiming(); }

} // namespace morvessan
