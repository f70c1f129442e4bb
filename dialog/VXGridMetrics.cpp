// Grid metrics: integer cell arithmetic that guards against empty cells and
// client areas, and caption cutting driven by the caller's text measure.
#include "dialog/VXGridMetrics.h"

#include <algorithm>

namespace morvessan {

namespace {

constexpr std::string_view kEllipsis = "...";

} // namespace

VXThumbnailMetrics thumbnailMetrics(int cellWidth, int cellHeight, int fontHeightOfT) {
    return {std::max(0, cellWidth - 10), std::max(0, cellHeight - fontHeightOfT - 5), 5};
}

std::string fitCaption(const std::string& caption, int cellWidth, const std::function<int(std::string_view)>& measure) {
    if (measure(caption) <= cellWidth) {
        return caption;
    }
    const int room = cellWidth - measure(kEllipsis);
    const std::string_view text(caption);
    std::size_t length = caption.size();
    while (length > 0 && measure(text.substr(0, length)) > room) {
        --length;
    }
    return std::string(text.substr(0, length)) + std::string(kEllipsis);
}

bool captionNeedsTooltip(const std::string& caption, int cellWidth,
                         const std::function<int(std::string_view)>& measure) {
    return measure(caption) > cellWidth;
}

int VXGridLayout::columns() const { return cellWidth > 0 ? std::max(1, clientWidth / cellWidth) : 1; }

int VXGridLayout::rows(int count) const { return count > 0 ? (count + columns() - 1) / columns() : 0; }

int VXGridLayout::visibleRows() const { return cellHeight > 0 ? std::max(1, clientHeight / cellHeight) : 1; }

int VXGridLayout::maxScrollRow(int count) const { return std::max(0, rows(count) - visibleRows()); }

int VXGridLayout::clampScrollRow(int scrollRow, int count) const {
    return std::clamp(scrollRow, 0, maxScrollRow(count));
}

int VXGridLayout::scrollRowShowing(int index, int scrollRow, int count) const {
    scrollRow = clampScrollRow(scrollRow, count);
    if (index < 0 || index >= count) {
        return scrollRow;
    }
    const int row = index / columns();
    if (row < scrollRow) {
        return row;
    }
    if (row >= scrollRow + visibleRows()) {
        return row - visibleRows() + 1;
    }
    return scrollRow;
}

PixelRect VXGridLayout::cell(int index, int scrollRow) const {
    const int left = (index % columns()) * cellWidth;
    const int top = (index / columns() - scrollRow) * cellHeight;
    return {left, top, left + cellWidth, top + cellHeight};
}

int VXGridLayout::hit(int x, int y, int scrollRow, int count) const {
    if (x < 0 || y < 0 || cellWidth <= 0 || cellHeight <= 0) {
        return -1;
    }
    const int column = x / cellWidth;
    if (column >= columns()) {
        return -1;
    }
    const int index = (y / cellHeight + scrollRow) * columns() + column;
    return index >= 0 && index < count ? index : -1;
}

std::optional<int> VXGridLayout::keySelection(VXGridKey key, int selected, int count) const {
    if (count <= 0) {
        return std::nullopt; // nothing to select
    }
    const int page = columns() * visibleRows();
    const int current = selected < 0 ? 0 : selected;
    int next = 0;
    switch (key) {
    case VXGridKey::Left: next = current - 1; break;
    case VXGridKey::Right: next = selected < 0 ? 0 : current + 1; break;
    case VXGridKey::Up: next = current - columns(); break;
    case VXGridKey::Down: next = selected < 0 ? 0 : current + columns(); break;
    case VXGridKey::PageUp: next = current - page; break;
    case VXGridKey::PageDown: next = current + page; break;
    case VXGridKey::Home: next = 0; break;
    case VXGridKey::End: next = count - 1; break;
    }
    // A step past either end stops at the first or last item: a page up from
    // the first page's last item lands on the first.
    return std::clamp(next, 0, count - 1);
}

} // namespace morvessan
