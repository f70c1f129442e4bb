// Auto-repeat for the transformation buttons: the step is the time held, so a
// longer press moves further however busy rendering keeps the dialog.
#include "windows/widgets/PSMorvessanNavigationButton.h"

#include "VXLib/VXUTIL/VXPlatform.h"

namespace morvessan {

namespace {

constexpr UINT_PTR kTimerId = 1;

} // namespace

void PSMorvessanNavigationButton::report() {
    const std::uint32_t now = vxPlatform().milliseconds();
    const std::uint32_t elapsed = now - m_last;
    m_last = now;
    SendMessageA(GetParent(m_hwnd), kStepMessage, static_cast<WPARAM>(id()), static_cast<LPARAM>(elapsed));
}

void PSMorvessanNavigationButton::begin() {
    m_held = true;
    m_last = vxPlatform().milliseconds();
    SetTimer(m_hwnd, kTimerId, kRepeatMs, nullptr);
}

void PSMorvessanNavigationButton::end() {
    if (!m_held) {
        return;
    }
    m_held = false;
    KillTimer(m_hwnd, kTimerId);
    report();
}

LRESULT PSMorvessanNavigationButton::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const LRESULT result = defaultProc(message, wParam, lParam); // pressed look and capture
        begin();
        return result;
    }
    case WM_LBUTTONUP: {
        const LRESULT result = defaultProc(message, wParam, lParam);
        end();
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !m_held && (lParam & (1 << 30)) == 0) {
            begin();
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            const LRESULT result = defaultProc(message, wParam, lParam);
            end();
            return result;
        }
        break;
    case WM_CAPTURECHANGED:
    case WM_KILLFOCUS:
        if (m_held && GetKeyState(VK_SPACE) >= 0) {
            end();
        }
        break;
    case WM_TIMER:
        if (wParam == kTimerId && m_held) {
            report();
            return 0;
        }
        break;
    default: break;
    }
    return defaultProc(message, wParam, lParam);
}

} // namespace morvessan
