// The preset preview: one rendered picture, copied to the client area when painted.
#include "windows/widgets/PSMorvessanPresetPreviewControl.h"

#include "windows/toolkit/VXGdi.h"
#include "windows/widgets/PSMorvessanPresetsListBox.h"

namespace morvessan {

void PSMorvessanPresetPreviewControl::showPreset(const std::function<bool(VXImage2&)>& render) {
    const RECT client = clientRect();
    m_image = vxMakeThumbnail(client.right, client.bottom);
    if (m_image && !render(*m_image)) {
        m_image.reset();
    }
    repaint();
}

void PSMorvessanPresetPreviewControl::clear() {
    m_image.reset();
    repaint();
}

LRESULT PSMorvessanPresetPreviewControl::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        VXPaintDC paint(m_hwnd);
        const RECT client = clientRect();
        if (m_image && m_image->deviceContext()) {
            GdiFlush();
            BitBlt(paint.get(), 0, 0, m_image->width(), m_image->height(), static_cast<HDC>(m_image->deviceContext()),
                   0, 0, SRCCOPY);
            // A control grown since the picture was made shows the face beyond it.
            const RECT right{m_image->width(), 0, client.right, client.bottom};
            const RECT below{0, m_image->height(), m_image->width(), client.bottom};
            for (const RECT& rest : {right, below}) {
                if (rest.right > rest.left && rest.bottom > rest.top) {
                    vxFillRect(paint.get(), rest, GetSysColor(COLOR_BTNFACE));
                }
            }
        } else {
            vxFillRect(paint.get(), client, GetSysColor(COLOR_BTNFACE));
        }
        return 0;
    }
    default: break;
    }
    return VXWnd::onMessage(message, wParam, lParam);
}

} // namespace morvessan
