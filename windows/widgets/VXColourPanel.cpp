// The colour panel and slider: a cached picture of the colours under each
// point, a marker at the current colour, and picking by pointer and keys.
#include "windows/widgets/VXColourPanel.h"

#include "windows/toolkit/VXGdi.h"

#include <windowsx.h>

#include <algorithm>

namespace morvessan {

void VXColourPanel::refresh(bool full) {
    if (full) {
        m_stale = true;
    }
    repaint();
}

RECT VXColourPanel::inner() const {
    const RECT client = clientRect();
    return RECT{client.left + 2, client.top + 2, client.right - 2, client.bottom - 2};
}

void VXColourPanel::renderPicture(int width, int height) {
    m_picture_width = width;
    m_picture_height = height;
    const int stride = (width * 3 + 3) & ~3;
    m_pixels.assign(static_cast<std::size_t>(stride) * height, 0);
    const std::vector<std::uint32_t> colours = m_model.picture(VXSizeI{width, height});
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const std::uint32_t colour = colours[static_cast<std::size_t>(row) * width + column];
            std::uint8_t* p = &m_pixels[static_cast<std::size_t>(row) * stride + column * 3];
            p[0] = static_cast<std::uint8_t>(colour >> 16);
            p[1] = static_cast<std::uint8_t>(colour >> 8);
            p[2] = static_cast<std::uint8_t>(colour);
        }
    }
    m_stale = false;
}

void VXColourPanel::draw(HDC dc, const RECT& client) {
    const RECT area = inner();
    const int width = std::max<int>(area.right - area.left, 1);
    const int height = std::max<int>(area.bottom - area.top, 1);
    if (m_stale || width != m_picture_width || height != m_picture_height) {
        renderPicture(width, height);
    }
    vxFillRect(dc, client, m_scheme[VXColourRole::Face]);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    SetDIBitsToDevice(dc, area.left, area.top, width, height, 0, 0, 0, height, m_pixels.data(), &info, DIB_RGB_COLORS);
    vxDrawEdge(dc, RECT{area.left - 1, area.top - 1, area.right + 1, area.bottom + 1}, m_scheme[VXColourRole::Shadow],
               m_scheme[VXColourRole::Highlight]);
    // The marker: a line across the slider, a small ring in the panel, drawn inverted to show on any colour.
    const int previousMode = SetROP2(dc, R2_NOT);
    VXSelectObject brush(dc, GetStockObject(NULL_BRUSH));
    const VXColourPanelModel::Point marker = m_model.marker(VXSizeI{width, height});
    const int x = area.left + marker.x;
    const int y = area.top + marker.y;
    if (m_model.isSlider()) {
        Rectangle(dc, area.left - 2, y - 2, area.right + 2, y + 3);
    } else {
        Ellipse(dc, x - 5, y - 5, x + 6, y + 6);
    }
    SetROP2(dc, previousMode);
    if (GetFocus() == m_hwnd) {
        DrawFocusRect(dc, &client);
    }
}

void VXColourPanel::pick(int x, int y) {
    const RECT area = inner();
    changed(m_model.pick(x - area.left, y - area.top, VXSizeI{area.right - area.left, area.bottom - area.top}));
}

void VXColourPanel::changed(unsigned changes) {
    m_changes = changes;
    notifyParent(kChanged);
}

LRESULT VXColourPanel::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        SetFocus(m_hwnd);
        SetCapture(m_hwnd);
        pick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == m_hwnd) {
            pick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == m_hwnd) {
            ReleaseCapture();
        }
        return 0;
    case WM_KEYDOWN: {
        const int dx = wParam == VK_LEFT ? -1 : wParam == VK_RIGHT ? 1 : 0;
        const int dy = wParam == VK_DOWN ? -1 : wParam == VK_UP ? 1 : 0;
        if (dx == 0 && dy == 0) {
            break;
        }
        changed(m_model.step(dx, dy));
        return 0;
    }
    default: break;
    }
    return VXCustomControl::onMessage(message, wParam, lParam);
}

} // namespace morvessan
