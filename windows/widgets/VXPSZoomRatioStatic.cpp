// The zoom ratio text: painted, never typed into.
#include "windows/widgets/VXPSZoomRatioStatic.h"

#include "windows/toolkit/VXGdi.h"

namespace morvessan {

void VXPSZoomRatioStatic::draw(HDC dc, const RECT& client) {
    vxFillRect(dc, client, m_scheme[VXColourRole::Background]);
    VXSelectObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, m_scheme[VXColourRole::Text]);
    const std::string shown = text();
    RECT area = client;
    DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT VXPSZoomRatioStatic::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETTEXT: {
        // Lets tests and screen readers read the ratio like a label's text.
        const std::string shown = text();
        const auto size = static_cast<std::size_t>(wParam);
        if (size == 0) {
            return 0;
        }
        const std::size_t n = shown.size() < size - 1 ? shown.size() : size - 1;
        shown.copy(reinterpret_cast<char*>(lParam), n);
        reinterpret_cast<char*>(lParam)[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(text().size());
    default: break;
    }
    return VXCustomControl::onMessage(message, wParam, lParam);
}

} // namespace morvessan
