// The grid: layout from the portable metrics, painting, scrolling and keys.
#include "windows/widgets/VXGridControl.h"

#include "windows/toolkit/VXGdi.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>

namespace morvessan {

namespace {

std::optional<VXGridKey> gridKey(WPARAM key) {
    switch (key) {
    case VK_LEFT: return VXGridKey::Left;
    case VK_RIGHT: return VXGridKey::Right;
    case VK_UP: return VXGridKey::Up;
    case VK_DOWN: return VXGridKey::Down;
    case VK_PRIOR: return VXGridKey::PageUp;
    case VK_NEXT: return VXGridKey::PageDown;
    case VK_HOME: return VXGridKey::Home;
    case VK_END: return VXGridKey::End;
    default: return std::nullopt;
    }
}

} // namespace

VXGridLayout VXGridControl::layout() const {
    const RECT client = clientRect();
    return VXGridLayout{m_cell_width, m_cell_height, client.right, client.bottom};
}

void VXGridControl::setCellSize(int width, int height) {
    m_cell_width = std::max(width, 1);
    m_cell_height = std::max(height, 1);
    itemsChanged();
}

void VXGridControl::itemsChanged() {
    if (m_selected >= count()) {
        m_selected = -1;
    }
    updateScrollBar();
    layoutChanged();
    invalidate();
}

void VXGridControl::setSelected(int index) {
    m_selected = index >= 0 && index < count() ? index : -1;
    if (m_selected >= 0) {
        ensureVisible(m_selected);
    }
    invalidate();
}

void VXGridControl::choose(int index) {
    if (index < 0 || index >= count()) {
        return;
    }
    const bool changed = index != m_selected;
    setSelected(index);
    UpdateWindow(m_hwnd);
    if (changed) {
        notifyParent(kSelectionChanged);
    }
}

void VXGridControl::updateScrollBar() {
    const VXGridLayout grid = layout();
    const int rows = grid.rows(count());
    const int visible = std::max(grid.visibleRows(), 1);
    m_scroll_row = std::clamp(m_scroll_row, 0, std::max(rows - visible, 0));
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(rows - 1, 0);
    info.nPage = static_cast<UINT>(visible);
    info.nPos = m_scroll_row;
    SetScrollInfo(m_hwnd, SB_VERT, &info, TRUE);
}

void VXGridControl::scrollTo(int row) {
    const int before = m_scroll_row;
    m_scroll_row = row;
    updateScrollBar();
    if (m_scroll_row != before) {
        layoutChanged();
        invalidate();
    }
}

void VXGridControl::ensureVisible(int index) {
    const VXGridLayout grid = layout();
    const int columns = std::max(grid.columns(), 1);
    const int row = index / columns;
    const int visible = std::max(grid.visibleRows(), 1);
    if (row < m_scroll_row) {
        scrollTo(row);
    } else if (row >= m_scroll_row + visible) {
        scrollTo(row - visible + 1);
    }
}

void VXGridControl::draw(HDC dc, const RECT& client) {
    const bool enabled = IsWindowEnabled(m_hwnd) != FALSE;
    vxFillRect(dc, client, m_scheme[enabled ? VXColourRole::Background : VXColourRole::Face]);
    const VXGridLayout grid = layout();
    VXSelectObject font(dc, vxWindowFont(m_hwnd));
    for (int i = 0; i < count(); ++i) {
        const PixelRect cell = grid.cell(i, m_scroll_row);
        if (cell.bottom <= 0 || cell.top >= client.bottom || cell.right <= 0) {
            continue;
        }
        drawItem(dc, i, RECT{cell.left, cell.top, cell.right, cell.bottom}, i == m_selected);
    }
    if (GetFocus() == m_hwnd && m_selected >= 0) {
        const PixelRect cell = grid.cell(m_selected, m_scroll_row);
        RECT focus{cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1};
        DrawFocusRect(dc, &focus);
    }
}

LRESULT VXGridControl::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        updateScrollBar();
        layoutChanged();
        invalidate();
        return 0;
    case kGetCount: return count();
    case kGetSelected: return m_selected;
    case WM_LBUTTONDOWN: {
        SetFocus(m_hwnd);
        choose(layout().hit(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), m_scroll_row, count()));
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        if (layout().hit(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), m_scroll_row, count()) >= 0) {
            notifyParent(kItemActivated);
        }
        return 0;
    case WM_MOUSEWHEEL: scrollTo(m_scroll_row - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA); return 0;
    case WM_VSCROLL: {
        const int visible = std::max(layout().visibleRows(), 1);
        int row = m_scroll_row;
        switch (LOWORD(wParam)) {
        case SB_LINEUP: --row; break;
        case SB_LINEDOWN: ++row; break;
        case SB_PAGEUP: row -= visible; break;
        case SB_PAGEDOWN: row += visible; break;
        case SB_TOP: row = 0; break;
        case SB_BOTTOM: row = layout().rows(count()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(m_hwnd, SB_VERT, &info);
            row = info.nTrackPos;
            break;
        }
        default: break;
        }
        scrollTo(row);
        return 0;
    }
    case WM_KEYDOWN:
        if (const std::optional<VXGridKey> key = gridKey(wParam)) {
            if (const std::optional<int> next = layout().keySelection(*key, m_selected, count())) {
                choose(*next);
                return 0;
            }
        }
        break;
    default: break;
    }
    return VXCustomControl::onMessage(message, wParam, lParam);
}

} // namespace morvessan
