// The colour well: double-buffered paint, click and keyboard activation.
#include "windows/widgets/VXColourStatic.h"

#include "windows/toolkit/VXGdi.h"

namespace morvessan {

void VXColourStatic::setColour(std::uint32_t colour, int alpha) {
    if (colour != m_colour || alpha != m_alpha) {
        m_colour = colour & 0xFFFFFF;
        m_alpha = alpha;
        repaint();
    }
}

void VXColourStatic::setSelected(bool selected) {
    if (selected != m_selected) {
        m_selected = selected;
        repaint();
    }
}

void VXColourStatic::draw(HDC dc, const RECT& client) {
    const bool enabled = IsWindowEnabled(m_hwnd) != FALSE;
    const COLORREF frame = m_scheme[m_selected ? VXColourRole::Text : VXColourRole::DarkShadow];
    vxFillRect(dc, client, m_scheme[VXColourRole::Face]);
    RECT well{client.left + 2, client.top + 2, client.right - 2, client.bottom - 2};
    if (!enabled) {
        vxFillRect(dc, well, m_scheme[VXColourRole::Face]);
    } else {
        // Partly transparent colours show over a checkerboard, as the previews do.
        const int square = 4;
        for (int y = well.top; y < well.bottom; y += square) {
            for (int x = well.left; x < well.right; x += square) {
                const int grey = (((x - well.left) / square + (y - well.top) / square) % 2 == 0) ? 255 : 192;
                const auto mix = [&](int channel) { return (channel * m_alpha + grey * (255 - m_alpha)) / 255; };
                const COLORREF colour =
                    RGB(mix(GetRValue(m_colour)), mix(GetGValue(m_colour)), mix(GetBValue(m_colour)));
                vxFillRect(dc,
                           RECT{x, y, x + square < well.right ? x + square : well.right,
                                y + square < well.bottom ? y + square : well.bottom},
                           colour);
            }
        }
    }
    vxFrameRect(dc, RECT{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1}, frame);
    if (m_selected || GetFocus() == m_hwnd) {
        vxFrameRect(dc, client, m_scheme[m_selected ? VXColourRole::Text : VXColourRole::Shadow]);
    }
}

LRESULT VXColourStatic::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (GetWindowLongA(m_hwnd, GWL_STYLE) & WS_TABSTOP) {
            SetFocus(m_hwnd);
        }
        notifyParent(message == WM_LBUTTONDOWN ? kClicked : kRightClicked);
        return 0;
    case WM_CHAR:
        if (wParam == ' ') {
            notifyParent(kClicked);
            return 0;
        }
        break;
    default: break;
    }
    return VXCustomControl::onMessage(message, wParam, lParam);
}

} // namespace morvessan
