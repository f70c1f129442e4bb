// The progress bar a command draws on stderr while it reads, renders and writes.
#pragma once

#include <cstdint>
#include <string>

namespace morvessan::cli {

// A bar on stderr over a whole command (reading, rendering and writing), when
// stderr is a terminal and not quiet. It is wiped when it ends, and before any
// message or summary, so that those start at the left of a line of their own.
class ProgressBar {
public:
    ProgressBar(const std::string& label, bool quiet);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;
    // `done` of `total`: 100 % only when all is done.
    void update(std::int64_t done, std::int64_t total);
    // Wipes the bar's line; the next update draws it again.
    void breakLine();
    // Words shown between the label and the bar ("frame 3/48, 0:41 left"), drawn
    // at the next update.
    void setDetail(const std::string& detail);
    // The line as drawn for `percent` (without the carriage return).
    std::string line(int percent) const;

private:
    std::string m_label;
    std::string m_detail;
    bool m_active;
    int m_shown = -1;
    std::size_t m_drawn = 0; // the longest line drawn, which a wipe covers
    bool m_stale = false;    // the detail changed since the line was drawn
};

} // namespace morvessan::cli
