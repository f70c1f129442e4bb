// The gradient strip: drawn from the colour table of its stops over the
// checkerboard, markers below, mouse and arrow keys to choose and move stops.
#include "windows/widgets/VXGraduatedFillCtrl.h"

#include "dialog/VXGradientStrip.h"
#include "windows/toolkit/VXGdi.h"

#include <windowsx.h>

namespace morvessan {

void VXGraduatedFillCtrl::setStops(const GradientStops& stops) {
    m_stops = stops;
    stopsChanged();
}

void VXGraduatedFillCtrl::stopsChanged() {
    rebuildTable();
    repaint();
}

void VXGraduatedFillCtrl::rebuildTable() { m_table = gradientStripTable(m_stops); }

void VXGraduatedFillCtrl::draw(HDC dc, const RECT& client) {
    const int width = client.right;
    const int height = client.bottom;
    vxFillRect(dc, client, m_scheme[VXColourRole::Face]);
    if (m_table.size() != kColourTableSize) {
        rebuildTable();
    }
    const int strip = stripHeight(height);
    if (width > 0 && strip > 0) {
        // One top-down 24-bit picture of the strip, copied in one call.
        const int stride = (width * 3 + 3) & ~3;
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) * strip);
        for (int x = 0; x < width; ++x) {
            const ColourEntry& entry = m_table[stripEntry(x, width)];
            for (int y = 0; y < strip; ++y) {
                const auto bgr = stripPixel(entry, x, y);
                std::uint8_t* p = &pixels[static_cast<std::size_t>(y) * stride + x * 3];
                p[0] = bgr[0];
                p[1] = bgr[1];
                p[2] = bgr[2];
            }
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -strip;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        SetDIBitsToDevice(dc, 0, 0, width, strip, 0, 0, 0, strip, pixels.data(), &info, DIB_RGB_COLORS);
        vxFrameRect(dc, RECT{0, 0, width, strip}, m_scheme[VXColourRole::DarkShadow]);
    }
    const bool enabled = IsWindowEnabled(m_hwnd) != FALSE;
    for (int pass = 0; pass < 2; ++pass) {
        // The selected marker last, so it lies on top where markers overlap.
        for (int i = 0; i < m_stops.count(); ++i) {
            const bool selected = i == m_stops.selected();
            if (selected != (pass == 1)) {
                continue;
            }
            const MarkerTriangle t = markerTriangle(width, height, m_stops.position(i));
            const POINT points[3] = {{t.apexX, t.apexY}, {t.leftX, t.baseY}, {t.rightX, t.baseY}};
            const std::uint32_t c = m_stops.colour(i);
            VXBrush fill(CreateSolidBrush(RGB(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF)));
            const COLORREF outline = !enabled ? m_scheme[VXColourRole::GreyText]
                                              : m_scheme[selected ? VXColourRole::Text : VXColourRole::Shadow];
            VXPen pen(CreatePen(PS_SOLID, selected ? 2 : 1, outline));
            VXSelectObject useBrush(dc, fill.get());
            VXSelectObject usePen(dc, pen.get());
            Polygon(dc, points, 3);
        }
    }
    if (GetFocus() == m_hwnd && strip > 2) {
        RECT focus{1, 1, width - 1, strip - 1};
        DrawFocusRect(dc, &focus);
    }
}

void VXGraduatedFillCtrl::press(int x, int y) {
    const RECT client = clientRect();
    const int hit = hitMarker(m_stops, client.right, client.bottom, x, y);
    SetFocus(m_hwnd);
    if (hit < 0) {
        return;
    }
    m_stops.selectStop(hit);
    repaint();
    notifyParent(kGradientSelectionMade);
    m_pressed = true;
    m_dragging = false;
    m_press_x = x;
    m_press_y = y;
    m_start_x = markerX(client.right, m_stops.position(hit));
    SetCapture(m_hwnd);
}

void VXGraduatedFillCtrl::drag(int x, int y) {
    if (!m_pressed) {
        return;
    }
    if (!m_dragging) {
        if (!startsDrag(x - m_press_x, y - m_press_y, GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG))) {
            return;
        }
        m_dragging = true;
        notifyParent(kGradientDragStarted);
    }
    const int before = m_stops.position(m_stops.selected());
    m_stops.moveStop(dragPosition(m_start_x, x - m_press_x, clientRect().right));
    if (m_stops.position(m_stops.selected()) != before) {
        stopsChanged();
        notifyParent(kGradientPositionChanged);
    }
}

void VXGraduatedFillCtrl::release() {
    if (!m_pressed) {
        return;
    }
    m_pressed = false;
    ReleaseCapture();
    if (m_dragging) {
        m_dragging = false;
        notifyParent(kGradientDragEnded);
    }
}

LRESULT VXGraduatedFillCtrl::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN: press(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_MOUSEMOVE: drag(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED: release(); return 0;
    case WM_LBUTTONDBLCLK: {
        const RECT client = clientRect();
        if (hitMarker(m_stops, client.right, client.bottom, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)) >= 0) {
            notifyParent(kGradientMarkerDoubleClicked);
        }
        return 0;
    }
    case WM_KEYDOWN: {
        // Left and Right choose a stop; with Ctrl they move the chosen one.
        const int step = wParam == VK_LEFT ? -1 : wParam == VK_RIGHT ? 1 : 0;
        if (step == 0) {
            break;
        }
        if (GetKeyState(VK_CONTROL) < 0) {
            m_stops.moveStop(m_stops.position(m_stops.selected()) + step);
            stopsChanged();
            notifyParent(kGradientPositionChanged);
        } else if (m_stops.selectStop(m_stops.selected() + step)) {
            repaint();
            notifyParent(kGradientSelectionMade);
        }
        return 0;
    }
    default: break;
    }
    return VXCustomControl::onMessage(message, wParam, lParam);
}

} // namespace morvessan
