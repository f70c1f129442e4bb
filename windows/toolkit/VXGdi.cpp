// Double-buffered painting and the small drawing helpers of the controls.
#include "windows/toolkit/VXGdi.h"

#include "VXLib/VXImage2.h"

#include <cstdlib>

namespace morvessan {

VXMemoryDC::VXMemoryDC(HDC target, const RECT& rect) : m_target(target), m_rect(rect) {
    m_dc = CreateCompatibleDC(target);
    const int width = rect.right - rect.left > 0 ? rect.right - rect.left : 1;
    const int height = rect.bottom - rect.top > 0 ? rect.bottom - rect.top : 1;
    m_bitmap.reset(CreateCompatibleBitmap(target, width, height));
    m_old = SelectObject(m_dc, m_bitmap.get());
    SetWindowOrgEx(m_dc, rect.left, rect.top, nullptr);
    // The controls draw text and lines with the target's font and modes.
    SelectObject(m_dc, GetCurrentObject(target, OBJ_FONT));
}

VXMemoryDC::~VXMemoryDC() {
    SetWindowOrgEx(m_dc, 0, 0, nullptr);
    BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_dc, 0, 0,
           SRCCOPY);
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
}

void vxStretchImage(HDC dc, const RECT& destination, const VXImage2& image) {
    if (image.isEmpty() || !image.header()) {
        return;
    }
    // The image's own header (with its colour table) describes its bits as they lie.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, destination.left, destination.top, destination.right - destination.left,
                  destination.bottom - destination.top, 0, 0, image.width(), std::abs(image.height()), image.bits(),
                  reinterpret_cast<const BITMAPINFO*>(image.header()), DIB_RGB_COLORS, SRCCOPY);
}

void vxFillRect(HDC dc, const RECT& rect, COLORREF colour) {
    const COLORREF old = SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

void vxFrameRect(HDC dc, const RECT& rect, COLORREF colour) {
    vxFillRect(dc, RECT{rect.left, rect.top, rect.right, rect.top + 1}, colour);
    vxFillRect(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
    vxFillRect(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
    vxFillRect(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
}

void vxDrawEdge(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    vxFillRect(dc, RECT{rect.left, rect.top, rect.right, rect.top + 1}, topLeft);
    vxFillRect(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, topLeft);
    vxFillRect(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
    vxFillRect(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
}

HFONT vxWindowFont(HWND window) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int vxTextHeight(HDC dc, HFONT font) {
    VXSelectObject select(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, "T", 1, &size);
    return size.cy;
}

} // namespace morvessan
