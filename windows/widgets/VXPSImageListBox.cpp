// The thumbnail list: cells in the list-box colours, thumbnails centred,
// captions fitted to the cell with the tooltips of those that were cut.
#include "windows/widgets/VXPSImageListBox.h"

#include "windows/toolkit/VXGdi.h"

#include <algorithm>

namespace morvessan {

namespace {

std::function<int(std::string_view)> measurer(HDC dc) {
    return [dc](std::string_view text) {
        SIZE size{};
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
}

} // namespace

int VXPSImageListBox::addItem(std::string caption, std::unique_ptr<VXImage2> thumbnail) {
    m_items.push_back(Item{std::move(caption), std::move(thumbnail)});
    itemsChanged();
    return count() - 1;
}

void VXPSImageListBox::clear() {
    m_items.clear();
    setSelected(-1);
    itemsChanged();
}

int VXPSImageListBox::textHeight() const {
    VXClientDC dc(m_hwnd);
    return vxTextHeight(dc.get(), vxWindowFont(m_hwnd));
}

VXThumbnailMetrics VXPSImageListBox::thumbnailMetrics() const {
    return morvessan::thumbnailMetrics(cellWidth(), cellHeight(), textHeight());
}

std::string VXPSImageListBox::shownCaption(int index) const {
    VXClientDC dc(m_hwnd);
    VXSelectObject font(dc.get(), vxWindowFont(m_hwnd));
    return fitCaption(m_items[index].caption, cellWidth(), measurer(dc.get()));
}

void VXPSImageListBox::drawItem(HDC dc, int index, const RECT& cell, bool selected) {
    const Item& item = m_items[index];
    const bool enabled = IsWindowEnabled(m_hwnd) != FALSE;
    const VXColourRole fill = !enabled   ? VXColourRole::Face
                              : selected ? VXColourRole::Selected
                                         : VXColourRole::Background;
    const VXColourRole text = !enabled   ? VXColourRole::GreyText
                              : selected ? VXColourRole::SelectedText
                                         : VXColourRole::Text;
    vxFillRect(dc, cell, m_scheme[fill]);
    const VXThumbnailMetrics metrics =
        morvessan::thumbnailMetrics(cellWidth(), cellHeight(), vxTextHeight(dc, vxWindowFont(m_hwnd)));
    const RECT area{cell.left + metrics.margin, cell.top + metrics.margin, cell.left + metrics.margin + metrics.width,
                    cell.top + metrics.margin + metrics.height};
    if (item.thumbnail && item.thumbnail->deviceContext()) {
        const int width = std::min(item.thumbnail->width(), metrics.width);
        const int height = std::min(std::abs(item.thumbnail->height()), metrics.height);
        const int x = area.left + (metrics.width - width) / 2;
        const int y = area.top + (metrics.height - height) / 2;
        BitBlt(dc, x, y, width, height, static_cast<HDC>(item.thumbnail->deviceContext()), 0, 0, SRCCOPY);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, m_scheme[text]);
    const std::string shown = fitCaption(item.caption, cellWidth(), measurer(dc));
    RECT line{cell.left, area.bottom, cell.right, cell.bottom};
    DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &line,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

void VXPSImageListBox::rebuildToolTips() {
    if (!m_hwnd) {
        return;
    }
    if (!m_tooltips.hwnd()) {
        m_tooltips.create(m_hwnd);
    }
    for (int i = 0; i < m_tip_count; ++i) {
        m_tooltips.removeRect(m_hwnd, static_cast<UINT_PTR>(i + 1));
    }
    m_tip_count = count();
    VXClientDC dc(m_hwnd);
    VXSelectObject font(dc.get(), vxWindowFont(m_hwnd));
    const VXGridLayout grid = layout();
    const int metricsHeight =
        morvessan::thumbnailMetrics(cellWidth(), cellHeight(), vxTextHeight(dc.get(), vxWindowFont(m_hwnd))).height;
    for (int i = 0; i < count(); ++i) {
        if (!captionNeedsTooltip(m_items[i].caption, cellWidth(), measurer(dc.get()))) {
            continue;
        }
        const PixelRect cell = grid.cell(i, scrollRow());
        const RECT captionArea{cell.left, cell.top + 5 + metricsHeight, cell.right, cell.bottom};
        m_tooltips.addRect(m_hwnd, static_cast<UINT_PTR>(i + 1), captionArea, m_items[i].caption);
    }
}

LRESULT VXPSImageListBox::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFONT) {
        const LRESULT result = VXGridControl::onMessage(message, wParam, lParam);
        rebuildToolTips();
        return result;
    }
    return VXGridControl::onMessage(message, wParam, lParam);
}

} // namespace morvessan
