// The startup log: timing lines collected while the library stays loaded and
// shown in a message box only when Shift is held as the dialog settles.
#pragma once

#include <cstdint>
#include <string>

namespace morvessan {

class StartupLog {
public:
    // Start time = now (the platform's millisecond clock).
    void BeginStartupTiming();
    // Appends `format` with its "%d" replaced by the milliseconds since the start.
    void AppendTiming(const std::string& format);
    // Appends `format` with its "%d" replaced by `milliseconds`.
    void AppendTiming(const std::string& format, std::int32_t milliseconds);
    // Appends one line of its own (a note on what the start skipped).
    void AppendLine(const std::string& line) { m_text += line + "\n"; }
    // At the dialog's first idle moment: the total line, the log shown when
    // Shift is down, and no more measuring until the next start.
    void FinishStartupTiming();

    // Milliseconds since the start, as a signed 32-bit count.
    std::int32_t Elapsed() const;
    bool IsTiming() const { return m_timing; }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
    std::uint32_t m_start = 0;
    bool m_timing = false;
};

// The one log of the loaded library.
StartupLog& startupLog();

} // namespace morvessan
