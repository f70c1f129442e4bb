// PSMorvessanNavigationButton: a transformation button that repeats while held,
// telling the dialog every 50 ms (and at the release) how long since its last report.
#pragma once

#include "windows/toolkit/VXWnd.h"

#include <cstdint>

namespace morvessan {

class PSMorvessanNavigationButton : public VXWnd {
public:
    // Sent to the parent: wParam the button's id, lParam the milliseconds of the step.
    static constexpr UINT kStepMessage = WM_APP + 20;
    static constexpr UINT kRepeatMs = 50;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void report();
    void begin();
    void end();

    std::uint32_t m_last = 0;
    bool m_held = false;
};

} // namespace morvessan
