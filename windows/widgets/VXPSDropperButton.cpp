// The dropper: a button drawn with the scheme that captures the pointer while
// held and reads the colour of the screen under it.
#include "windows/widgets/VXPSDropperButton.h"

#include "windows/toolkit/VXGdi.h"

#include <windowsx.h>

namespace morvessan {

std::uint32_t VXPSDropperButton::colourUnderPointer() const {
    VXClientDC screen(nullptr);
    const COLORREF colour = GetPixel(screen.get(), m_point.x, m_point.y);
    return colour == CLR_INVALID ? 0 : static_cast<std::uint32_t>(colour);
}

void VXPSDropperButton::draw(HDC dc, const RECT& client) {
    const bool enabled = IsWindowEnabled(m_hwnd) != FALSE;
    vxFillRect(dc, client, m_scheme[m_picking ? VXColourRole::Selected : VXColourRole::Face]);
    vxDrawEdge(dc, client, m_scheme[m_picking ? VXColourRole::DarkShadow : VXColourRole::Highlight],
               m_scheme[m_picking ? VXColourRole::Highlight : VXColourRole::DarkShadow]);
    // A pipette: a slanted stem with a bulb, scaled to the button.
    const int w = client.right;
    const int h = client.bottom;
    const COLORREF ink = m_scheme[enabled ? VXColourRole::Text : VXColourRole::GreyText];
    VXPen pen(CreatePen(PS_SOLID, w >= 24 ? 2 : 1, ink));
    VXBrush bulb(CreateSolidBrush(ink));
    VXSelectObject usePen(dc, pen.get());
    MoveToEx(dc, w / 4, h * 3 / 4, nullptr);
    LineTo(dc, w * 5 / 8, h * 3 / 8);
    VXSelectObject useBrush(dc, bulb.get());
    Ellipse(dc, w * 9 / 16, h / 6, w * 5 / 6, h * 7 / 16);
    if (GetFocus() == m_hwnd) {
        RECT focus{2, 2, w - 2, h - 2};
        DrawFocusRect(dc, &focus);
    }
}

void VXPSDropperButton::finish(int code) {
    if (!m_picking) {
        return;
    }
    m_picking = false;
    if (GetCapture() == m_hwnd) {
        ReleaseCapture();
    }
    invalidate();
    notifyParent(code);
}

LRESULT VXPSDropperButton::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        SetFocus(m_hwnd);
        m_picking = true;
        SetCapture(m_hwnd);
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS)));
        GetCursorPos(&m_point);
        invalidate();
        return 0;
    case WM_MOUSEMOVE:
        if (m_picking) {
            GetCursorPos(&m_point);
            SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS)));
            notifyParent(kDropperMoved);
        }
        return 0;
    case WM_LBUTTONUP:
        if (m_picking) {
            GetCursorPos(&m_point);
            finish(kDropperPicked);
        }
        return 0;
    case WM_KEYDOWN:
        if (m_picking && wParam == VK_ESCAPE) {
            finish(kDropperCancelled);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (m_picking && reinterpret_cast<HWND>(lParam) != m_hwnd) {
            finish(kDropperCancelled);
        }
        return 0;
    default: break;
    }
    return VXCustomControl::onMessage(message, wParam, lParam);
}

} // namespace morvessan
