// The spectrum: grid lines, one bar per used octave, the sizing cursor over a
// bar's level and the drag that the model turns into a weight.
#include "windows/widgets/PSMorvessanNoiseWeightsControl.h"

#include "dialog/NoiseWeightsGeometry.h"
#include "texture/TexturePreset.h"
#include "windows/toolkit/VXGdi.h"

#include <windowsx.h>

#include <vector>

namespace morvessan {

PixelRect PSMorvessanNoiseWeightsControl::pixelClient() const {
    const RECT rect = clientRect();
    return PixelRect{rect.left, rect.top, rect.right, rect.bottom};
}

void PSMorvessanNoiseWeightsControl::draw(HDC dc, const RECT& rect) {
    const bool enabled = IsWindowEnabled(m_hwnd) != FALSE;
    vxFillRect(dc, rect, m_scheme[VXColourRole::Background]);
    const PixelRect area = pixelClient();
    // Twelve grid lines, one per halving of the weight.
    for (int i = 0; i < 12; ++i) {
        const int y = weightMarkerY(area, 1.0 / static_cast<double>(1 << i));
        vxFillRect(dc, RECT{rect.left, y, rect.right, y + 1}, m_scheme[VXColourRole::Light]);
    }
    const std::vector<double> weights = m_model.spectrumWeights();
    const int columns = static_cast<int>(weights.size());
    const COLORREF bar = m_scheme[enabled ? VXColourRole::Shadow : VXColourRole::GreyText];
    const COLORREF level = m_scheme[enabled ? VXColourRole::Text : VXColourRole::GreyText];
    for (int i = 0; i < columns; ++i) {
        const PixelRect column = weightColumn(area, columns, i);
        const int y = weightMarkerY(area, weights[static_cast<std::size_t>(i)]);
        const int inset = column.width() > 6 ? 2 : 0;
        const bool grabbed = m_model.grabbedBar() == i;
        vxFillRect(dc, RECT{column.left + inset, y, column.right - inset, rect.bottom},
                   grabbed ? m_scheme[VXColourRole::Selected] : bar);
        vxFillRect(dc, RECT{column.left + inset, y - 1, column.right - inset, y + 2}, level);
    }
}

LRESULT PSMorvessanNoiseWeightsControl::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_SETCURSOR: {
        POINT pointer{};
        GetCursorPos(&pointer);
        ScreenToClient(m_hwnd, &pointer);
        if (m_model.grabbedBar() >= 0 || m_model.overSpectrumBar(pixelClient(), pointer.x, pointer.y)) {
            SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZENS)));
            return TRUE;
        }
        break;
    }
    case WM_LBUTTONDOWN:
        if (m_model.pressSpectrum(pixelClient(), x, y)) {
            SetCapture(m_hwnd);
            repaint();
        }
        return 0;
    case WM_MOUSEMOVE:
        if (m_model.grabbedBar() >= 0) {
            m_changes = m_model.dragSpectrum(y);
            repaint();
            notifyParent(kChanged);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (m_model.grabbedBar() >= 0) {
            m_model.releaseSpectrum();
            if (message == WM_LBUTTONUP) {
                ReleaseCapture();
            }
            repaint();
        }
        return 0;
    default: break;
    }
    return VXCustomControl::onMessage(message, wParam, lParam);
}

} // namespace morvessan
