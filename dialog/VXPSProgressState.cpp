// Progress state: range 0 to 100 and position 50 until set, cancelled only by the
// user or the application quitting.
#include "dialog/VXPSProgressState.h"

namespace morvessan {

void VXPSProgressState::setRange(std::int32_t low, std::int32_t high) {
    m_low = low;
    m_high = high;
}

void VXPSProgressState::setPosition(std::int32_t position) { m_position = position; }

void VXPSProgressState::cancel() { m_cancelled = true; }

} // namespace morvessan
