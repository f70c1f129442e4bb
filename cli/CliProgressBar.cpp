// The progress bar, drawn only on a terminal.
#include "cli/CliProgressBar.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace morvessan::cli {

namespace {

bool stderrIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(2) != 0;
#endif
}

} // namespace

ProgressBar::ProgressBar(const std::string& label, bool quiet)
    : m_label(label), m_active(!quiet && stderrIsTerminal()) {}

ProgressBar::~ProgressBar() { breakLine(); }

void ProgressBar::breakLine() {
    if (m_active && m_shown >= 0) {
        std::cerr << "\r" << std::string(m_drawn, ' ') << "\r" << std::flush;
        m_shown = -1;
    }
}

void ProgressBar::setDetail(const std::string& detail) {
    if (detail != m_detail) {
        m_detail = detail;
        m_stale = true; // drawn again at the next update, whatever its percentage
    }
}

std::string ProgressBar::line(int percent) const {
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    return m_label + (m_detail.empty() ? "" : " " + m_detail) + " [" + std::string(filled, '#') +
           std::string(kWidth - filled, ' ') + "] " + std::to_string(percent) + "%";
}

void ProgressBar::update(std::int64_t done, std::int64_t total) {
    if (!m_active || total <= 0) {
        return;
    }
    const int percent = static_cast<int>(std::clamp<std::int64_t>(done, 0, total) * 100 / total);
    if (percent == m_shown && !m_stale) {
        return;
    }
    m_shown = percent;
    m_stale = false;
    const std::string drawn = line(percent);
    // A shorter line than the last (a time left that lost a digit) wipes what is past its end.
    std::cerr << "\r" << drawn << std::string(m_drawn > drawn.size() ? m_drawn - drawn.size() : 0, ' ') << std::flush;
    m_drawn = std::max(m_drawn, drawn.size());
}

} // namespace morvessan::cli
