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
        std::cerr << "\r" << std::string(line(100).size(), ' ') << "\r" << std::flush;
        m_shown = -1;
    }
}

std::string ProgressBar::line(int percent) const {
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    return m_label + " [" + std::string(filled, '#') + std::string(kWidth - filled, ' ') + "] " +
           std::to_string(percent) + "%";
}

void ProgressBar::update(std::int64_t done, std::int64_t total) {
    if (!m_active || total <= 0) {
        return;
    }
    const int percent = static_cast<int>(std::clamp<std::int64_t>(done, 0, total) * 100 / total);
    if (percent == m_shown) {
        return;
    }
    m_shown = percent;
    std::cerr << "\r" << line(percent) << std::flush;
}

} // namespace morvessan::cli
