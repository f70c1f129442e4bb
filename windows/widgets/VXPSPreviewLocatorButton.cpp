// The locator: a borderless popup sized to the overview proxy, centred on the
// pointer, which follows the pointer until the release sets the preview rectangle.
#include "windows/widgets/VXPSPreviewLocatorButton.h"

#include "VXLib/VXImage2.h"
#include "dialog/VXPSPreviewSession.h"
#include "windows/toolkit/VXGdi.h"

#include <windowsx.h>

#include <memory>

namespace morvessan {

namespace {

constexpr const char* kPopupClass = "VXPSPreviewLocatorPopup";

} // namespace

// The popup owns itself: it is deleted when its window is destroyed.
class VXPSPreviewLocatorPopup : public VXWnd {
public:
    explicit VXPSPreviewLocatorPopup(VXPSPreviewLocatorButton& button) : m_button(button) {}

    bool open(POINT centre, int width, int height) {
        VXWnd::registerClass(kPopupClass);
        const int frameX = GetSystemMetrics(SM_CXDLGFRAME);
        const int frameY = GetSystemMetrics(SM_CYDLGFRAME);
        const int w = width + 2 * frameX;
        const int h = height + 2 * frameY;
        const RECT rect{centre.x - w / 2, centre.y - h / 2, centre.x - w / 2 + w, centre.y - h / 2 + h};
        if (!create(kPopupClass, "Preview Locator", WS_POPUP | WS_DLGFRAME, WS_EX_TOOLWINDOW, rect,
                    GetParent(m_button.hwnd()), 0)) {
            return false;
        }
        ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
        SetCapture(m_hwnd);
        m_button.m_model.open(width, height);
        POINT pointer{m_button.m_model.pointerX(), m_button.m_model.pointerY()};
        ClientToScreen(m_hwnd, &pointer);
        SetCursorPos(pointer.x, pointer.y);
        UpdateWindow(m_hwnd);
        return true;
    }

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_PAINT: {
            VXPaintDC paint(m_hwnd);
            const RECT client = clientRect();
            VXMemoryDC buffer(paint.get(), client);
            HDC dc = buffer.get();
            VXImage2* overview = m_button.m_preview.GetOverviewImage();
            if (overview && overview->width() > 0) {
                vxStretchImage(dc, client, *overview);
            } else {
                vxFillRect(dc, client, GetSysColor(COLOR_WINDOW));
            }
            // The outline inverts what lies below so it shows on any picture.
            const PixelRect& r = m_button.m_model.clientRect();
            const int previous = SetROP2(dc, R2_NOT);
            VXSelectObject brush(dc, GetStockObject(NULL_BRUSH));
            VXSelectObject pen(dc, GetStockObject(BLACK_PEN));
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
            SetROP2(dc, previous);
            return 0;
        }
        case WM_ERASEBKGND: return TRUE;
        case WM_MOUSEMOVE:
            m_button.m_model.move(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            repaint();
            return 0;
        case WM_LBUTTONUP: {
            const int x = GET_X_LPARAM(lParam);
            const int y = GET_Y_LPARAM(lParam);
            m_released = true;
            ReleaseCapture();
            m_button.m_model.release(x, y);
            HWND button = m_button.hwnd();
            DestroyWindow(m_hwnd);
            SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            return 0;
        }
        case WM_CAPTURECHANGED:
            // Losing the pointer any other way closes the popup and leaves the preview as it was.
            if (!m_released && reinterpret_cast<HWND>(lParam) != m_hwnd) {
                m_released = true;
                DestroyWindow(m_hwnd);
            }
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                m_released = true;
                ReleaseCapture();
                DestroyWindow(m_hwnd);
                return 0;
            }
            break;
        default: break;
        }
        return defaultProc(message, wParam, lParam);
    }

    void onDestroyed() override {
        m_button.closed();
        delete this;
    }

private:
    VXPSPreviewLocatorButton& m_button;
    bool m_released = false;
};

VXPSPreviewLocatorButton::~VXPSPreviewLocatorButton() {
    if (m_popup && m_popup->hwnd()) {
        DestroyWindow(m_popup->hwnd());
    }
}

HWND VXPSPreviewLocatorButton::popup() const { return m_popup ? m_popup->hwnd() : nullptr; }

void VXPSPreviewLocatorButton::closed() { m_popup = nullptr; }

void VXPSPreviewLocatorButton::open() {
    VXImage2* overview = m_preview.GetOverviewImage();
    if (m_popup || !overview || overview->width() <= 0) {
        return;
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    auto popup = std::make_unique<VXPSPreviewLocatorPopup>(*this);
    if (popup->open(pointer, overview->width(), std::abs(overview->height()))) {
        m_popup = popup.release();
    }
}

LRESULT VXPSPreviewLocatorButton::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN && IsWindowEnabled(m_hwnd)) {
        open();
        return 0;
    }
    if (message == WM_KEYDOWN && (wParam == VK_SPACE || wParam == VK_RETURN)) {
        open();
        return 0;
    }
    return defaultProc(message, wParam, lParam);
}

} // namespace morvessan
