// Startup timing lines, read from the platform clock and Shift key.
#include "plugin/StartupLog.h"

#include "VXLib/VXUTIL/VXPlatform.h"

namespace morvessan {

void StartupLog::BeginStartupTiming() {
    m_start = vxPlatform().milliseconds();
    m_timing = true;
}

std::int32_t StartupLog::Elapsed() const { return static_cast<std::int32_t>(vxPlatform().milliseconds() - m_start); }

void StartupLog::AppendTiming(const std::string& format) { AppendTiming(format, Elapsed()); }

void StartupLog::AppendTiming(const std::string& format, std::int32_t milliseconds) {
    const std::size_t at = format.find("%d");
    if (at == std::string::npos) {
        m_text += format;
        return;
    }
    m_text += format.substr(0, at) + std::to_string(milliseconds) + format.substr(at + 2);
}

void StartupLog::FinishStartupTiming() {
    if (!m_timing) {
        return;
    }
    AppendTiming("\nTotal plugin startup time %dms\n");
    VXPlatform& platform = vxPlatform();
    if (platform.isKeyDown(VXKey::Shift)) {
        platform.messageBox(m_text, "Morvessan", VXMessageButtons::Ok, VXMessageIcon::None);
    }
    m_timing = false;
}

StartupLog& startupLog() {
    static StartupLog log;
    return log;
}

} // namespace morvessan
