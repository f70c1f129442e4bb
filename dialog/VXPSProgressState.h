// What the progress window shows and whether the user cancelled, kept apart from the
// window so values set before it exists are applied when it is created.
#pragma once

#include <cstdint>

namespace morvessan {

class VXPSProgressState {
public:
    // Stored as given: the window hands them on to the bar, which keeps its own limits.
    void setRange(std::int32_t low, std::int32_t high);
    void setPosition(std::int32_t position);
    // Once cancelled, the state stays cancelled for the rest of the operation.
    void cancel();
    bool isCancelled() const { return m_cancelled; }

    std::int32_t low() const { return m_low; }
    std::int32_t high() const { return m_high; }
    std::int32_t position() const { return m_position; }

private:
    std::int32_t m_low = 0;
    std::int32_t m_high = 100;
    std::int32_t m_position = 50;
    bool m_cancelled = false;
};

} // namespace morvessan
