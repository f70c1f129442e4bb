// The drop-down preset grid: the box paints the chosen name and an arrow; the
// drop-down is a popup holding a thumbnail grid that closes on a choice, Escape or a click elsewhere.
#include "windows/widgets/PSMorvessanPresetCombo.h"

#include "windows/toolkit/VXGdi.h"

#include <algorithm>

namespace morvessan {

namespace {

constexpr const char* kDropDownClass = "PSMorvessanPresetDropDown";

} // namespace

class PSMorvessanPresetCombo::DropDown : public VXWnd {
public:
    explicit DropDown(PSMorvessanPresetCombo& combo) : m_combo(combo) {}

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == VXGridControl::kSelectionChanged || HIWORD(wParam) == VXGridControl::kItemActivated) {
                m_combo.m_selected = m_combo.m_grid ? m_combo.m_grid->selected() : -1;
                PostMessageA(m_combo.hwnd(), WM_APP, 1, 0);
                return 0;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                PostMessageA(m_combo.hwnd(), WM_APP, 0, 0);
            }
            break;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                PostMessageA(m_combo.hwnd(), WM_APP, 0, 0);
                return 0;
            }
            break;
        default: break;
        }
        return defaultProc(message, wParam, lParam);
    }

private:
    PSMorvessanPresetCombo& m_combo;
};

PSMorvessanPresetCombo::PSMorvessanPresetCombo(const PSMorvessanPresetPickersModel& model, const VXColourScheme& scheme,
                                               const VXColourScheme& listScheme)
    : m_model(model), m_scheme(scheme), m_list_scheme(listScheme) {}

PSMorvessanPresetCombo::~PSMorvessanPresetCombo() { closeUp(false); }

void PSMorvessanPresetCombo::categoryChanged() {
    closeUp(false);
    m_selected = -1;
    invalidate();
}

void PSMorvessanPresetCombo::setSelected(int index) {
    m_selected = index;
    invalidate();
}

HWND PSMorvessanPresetCombo::dropDownWindow() const { return m_drop_down ? m_drop_down->hwnd() : nullptr; }

void PSMorvessanPresetCombo::dropDown() {
    if (m_drop_down || !IsWindowEnabled(m_hwnd)) {
        return;
    }
    VXWnd::registerClass(kDropDownClass);
    HFONT font = vxWindowFont(m_hwnd);
    int textHeight = 0;
    {
        VXClientDC dc(m_hwnd);
        textHeight = vxTextHeight(dc.get(), font);
    }
    // Cells that give 70 x 70 thumbnails: the metrics take 10 across and the caption line down.
    const int cellWidth = kThumbnailSize + 10;
    const int cellHeight = kThumbnailSize + textHeight + 5;
    const int count = static_cast<int>(m_model.presetNames().size());
    const int columns = 4;
    const int rows = std::clamp((count + columns - 1) / columns, 1, 3);
    const int scrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int width = columns * cellWidth + scrollWidth + 2 * GetSystemMetrics(SM_CXBORDER) + 2;
    const int height = rows * cellHeight + 2 * GetSystemMetrics(SM_CYBORDER) + 2;
    RECT box{};
    GetWindowRect(m_hwnd, &box);
    // Below the box, or above it when the screen ends first.
    HMONITOR monitor = MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoA(monitor, &info);
    int top = box.bottom;
    if (top + height > info.rcWork.bottom && box.top - height >= info.rcWork.top) {
        top = box.top - height;
    }
    const int left = std::max<int>(info.rcWork.left, std::min<int>(box.left, info.rcWork.right - width));
    m_drop_down = std::make_unique<DropDown>(*this);
    if (!m_drop_down->create(kDropDownClass, "", WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                             RECT{left, top, left + width, top + height}, GetParent(m_hwnd), 0)) {
        m_drop_down.reset();
        return;
    }
    RECT client{};
    GetClientRect(m_drop_down->hwnd(), &client);
    m_grid = std::make_unique<PSMorvessanPresetsListBox>(m_list_scheme);
    if (!m_grid->create(VXGridControl::kClassName, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, 0, client,
                        m_drop_down->hwnd(), 1)) {
        closeUp(false);
        return;
    }
    SendMessageA(m_grid->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    m_grid->setCellSize(cellWidth, cellHeight);
    m_grid->fill(m_model);
    m_grid->setSelected(m_selected);
    ShowWindow(m_drop_down->hwnd(), SW_SHOW);
    SetFocus(m_grid->hwnd());
}

void PSMorvessanPresetCombo::closeUp(bool chosen) {
    if (!m_drop_down) {
        return;
    }
    m_grid.reset();
    // Released after its window is gone, so no message reaches a destroyed object.
    std::unique_ptr<DropDown> dropDown = std::move(m_drop_down);
    if (dropDown->hwnd()) {
        DestroyWindow(dropDown->hwnd());
    }
    invalidate();
    if (chosen) {
        SetFocus(m_hwnd);
        notifyParent(kSelectionChanged);
    }
}

void PSMorvessanPresetCombo::draw(HDC dc, const RECT& client) {
    const bool enabled = IsWindowEnabled(m_hwnd) != FALSE;
    vxFillRect(dc, client, m_scheme[enabled ? VXColourRole::Background : VXColourRole::Face]);
    vxDrawEdge(dc, client, m_scheme[VXColourRole::Shadow], m_scheme[VXColourRole::Highlight]);
    const int arrowWidth = GetSystemMetrics(SM_CXVSCROLL);
    RECT arrow{client.right - arrowWidth - 1, client.top + 1, client.right - 1, client.bottom - 1};
    vxFillRect(dc, arrow, m_scheme[VXColourRole::Face]);
    vxDrawEdge(dc, arrow, m_scheme[VXColourRole::Highlight], m_scheme[VXColourRole::DarkShadow]);
    const int cx = (arrow.left + arrow.right) / 2;
    const int cy = (arrow.top + arrow.bottom) / 2;
    const int half = std::max<int>(2, arrowWidth / 4);
    VXBrush ink(CreateSolidBrush(m_scheme[enabled ? VXColourRole::Text : VXColourRole::GreyText]));
    VXPen none(CreatePen(PS_NULL, 0, 0));
    VXSelectObject useBrush(dc, ink.get());
    VXSelectObject usePen(dc, none.get());
    const POINT triangle[3] = {{cx - half, cy - half / 2}, {cx + half + 1, cy - half / 2}, {cx, cy + half / 2 + 1}};
    Polygon(dc, triangle, 3);
    const std::vector<std::string>& names = m_model.presetNames();
    const std::string text = m_selected >= 0 && m_selected < static_cast<int>(names.size())
                                 ? names[static_cast<std::size_t>(m_selected)]
                                 : std::string();
    VXSelectObject font(dc, vxWindowFont(m_hwnd));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, m_scheme[enabled ? VXColourRole::Text : VXColourRole::GreyText]);
    RECT textRect{client.left + 4, client.top, arrow.left - 2, client.bottom};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (GetFocus() == m_hwnd) {
        RECT focus{client.left + 2, client.top + 2, arrow.left - 1, client.bottom - 2};
        DrawFocusRect(dc, &focus);
    }
}

LRESULT PSMorvessanPresetCombo::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        SetFocus(m_hwnd);
        if (m_drop_down) {
            closeUp(false);
        } else {
            dropDown();
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_F4 || wParam == VK_SPACE || (wParam == VK_DOWN && GetKeyState(VK_MENU) < 0)) {
            dropDown();
            return 0;
        }
        break;
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN) {
            dropDown();
            return 0;
        }
        break;
    case WM_APP: closeUp(wParam == 1); return 0;
    default: break;
    }
    return VXCustomControl::onMessage(message, wParam, lParam);
}

} // namespace morvessan
