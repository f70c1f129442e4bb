// The preview controls: painting whatever proxy the filter holds now, and the
// pointer gestures, which the models turn into pans and texture edits.
#include "windows/widgets/VXPSPreviewControl.h"

#include "dialog/PSMorvessanPreviewControlModel.h"
#include "dialog/VXPSPreviewGeometry.h"
#include "dialog/GradientEditorGeometry.h"
#include "windows/toolkit/VXGdi.h"

#include <windowsx.h>

namespace morvessan {

bool VXPSPreviewControl::attach(HWND window) {
    if (!VXWnd::attach(window)) {
        return false;
    }
    const RECT client = clientRect();
    m_model.setClientSize(client.right, client.bottom);
    return true;
}

void VXPSPreviewControl::draw(HDC dc, const RECT& client) {
    const COLORREF background = m_scheme[VXColourRole::Face];
    VXImage2* image = m_model.image();
    if (!image || image->width() <= 0) {
        vxFillRect(dc, client, background);
        return;
    }
    const PixelRect place = m_model.placement();
    // Everything outside the picture gets the background; the picture covers the rest.
    vxFillRect(dc, RECT{client.left, client.top, client.right, place.top}, background);
    vxFillRect(dc, RECT{client.left, place.bottom, client.right, client.bottom}, background);
    vxFillRect(dc, RECT{client.left, place.top, place.left, place.bottom}, background);
    vxFillRect(dc, RECT{place.right, place.top, client.right, place.bottom}, background);
    const VXImage2* shown = image;
    if (image->bitCount() == 32) {
        composeOverCheckerboard(*image, m_composed);
        shown = &m_composed;
    }
    vxStretchImage(dc, RECT{place.left, place.top, place.right, place.bottom}, *shown);
}

void VXPSPreviewControl::notify(int code, unsigned changes) {
    m_changes = changes;
    notifyParent(code);
}

LRESULT VXPSPreviewControl::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_SIZE:
        m_model.setClientSize(LOWORD(lParam), HIWORD(lParam));
        invalidate();
        return 0;
    case WM_SETCURSOR:
        if (m_pressed) {
            return TRUE; // the pan cursor stays while the button is held
        }
        break;
    case WM_LBUTTONDOWN:
        if (GetWindowLongA(m_hwnd, GWL_STYLE) & WS_TABSTOP) {
            SetFocus(m_hwnd);
        }
        m_pressed = true;
        m_press = POINT{x, y};
        SetCapture(m_hwnd);
        m_model.press(x, y);
        notify(kPreviewPressed, 0);
        return 0;
    case WM_MOUSEMOVE:
        if (!m_pressed) {
            return 0;
        }
        if (!m_model.dragging()) {
            if (!startsDrag(x - m_press.x, y - m_press.y, GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG))) {
                return 0;
            }
            m_model.beginDrag();
            notify(kPreviewDragStarted, 0);
        }
        {
            const unsigned changes = m_model.drag(x, y);
            repaint();
            notify(kPreviewDragged, changes);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (m_pressed) {
            m_pressed = false;
            const bool dragged = m_model.dragging();
            if (message == WM_LBUTTONUP) {
                ReleaseCapture();
            }
            m_model.release();
            if (dragged) {
                notify(kPreviewDragEnded, 0);
            }
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        if (m_texture_model) {
            notify(kPreviewDragged, m_texture_model->doubleClick(x, y));
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (m_texture_model) {
            notify(kPreviewDragged, m_texture_model->wheel(GET_WHEEL_DELTA_WPARAM(wParam)));
            return 0;
        }
        break;
    default: break;
    }
    return VXCustomControl::onMessage(message, wParam, lParam);
}

} // namespace morvessan
