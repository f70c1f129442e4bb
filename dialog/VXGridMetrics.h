// Geometry of the picture grids: thumbnail size from the cell and font, captions cut
// to the cell with "...", and the cells, hits and scrolling of a grid of items.
#pragma once

#include "texture/PixelRect.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace morvessan {

struct VXThumbnailMetrics {
    int width;
    int height;
    int margin;
    bool operator==(const VXThumbnailMetrics&) const = default;
};

// Width cell − 10, height cell − caption line − 5, margin 5; never negative.
VXThumbnailMetrics thumbnailMetrics(int cellWidth, int cellHeight, int fontHeightOfT);

// The caption as drawn: whole when it fits, else the longest prefix fitting in
// (cellWidth − width("...")) followed by "...". `measure` gives the pixel width of a
// string in the list's font.
std::string fitCaption(const std::string& caption, int cellWidth, const std::function<int(std::string_view)>& measure);
// Cut captions show the whole text as a tooltip.
bool captionNeedsTooltip(const std::string& caption, int cellWidth,
                         const std::function<int(std::string_view)>& measure);

// The keys that move a grid's selection.
enum class VXGridKey { Left, Right, Up, Down, PageUp, PageDown, Home, End };

// A grid of equal cells filling the client width row by row, scrolled by whole rows.
struct VXGridLayout {
    int cellWidth;
    int cellHeight;
    int clientWidth;
    int clientHeight;

    int columns() const;               // at least 1
    int rows(int count) const;         // rows holding `count` items
    int visibleRows() const;           // whole rows in the client area, at least 1
    int maxScrollRow(int count) const; // last first-row that still fills the client area
    int clampScrollRow(int scrollRow, int count) const;
    // The first row to show so that item `index` is visible, moving as little as possible.
    int scrollRowShowing(int index, int scrollRow, int count) const;
    PixelRect cell(int index, int scrollRow) const;        // in client coordinates
    int hit(int x, int y, int scrollRow, int count) const; // item under a point; -1 none
    // The item `key` selects from `selected` (-1: none yet) among `count` items, limited
    // to them; nothing when the grid leaves the key to the window. Without a selection
    // every key starts from the first item; a page is the items of the rows in view.
    std::optional<int> keySelection(VXGridKey key, int selected, int count) const;
};

} // namespace morvessan
