// Shared message handling of the self-drawn controls.
#include "windows/widgets/VXCustomControl.h"

#include "windows/toolkit/VXGdi.h"

namespace morvessan {

LRESULT VXCustomControl::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        VXPaintDC paint(m_hwnd);
        const RECT client = clientRect();
        VXMemoryDC buffer(paint.get(), client);
        VXSelectObject font(buffer.get(), vxWindowFont(m_hwnd));
        draw(buffer.get(), client);
        return 0;
    }
    case WM_ERASEBKGND: return TRUE;
    case WM_GETDLGCODE: return dialogCode();
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        // The focus cue and the disabled colours are part of the drawing.
        invalidate();
        return 0;
    default: break;
    }
    return defaultProc(message, wParam, lParam);
}

} // namespace morvessan
