// VXGridControl: cells of one size in rows, one selected item, a vertical
// scroll bar and the keyboard; subclasses draw the items.
#pragma once

#include "dialog/VXColourScheme.h"
#include "dialog/VXGridMetrics.h"
#include "windows/widgets/VXCustomControl.h"

namespace morvessan {

class VXGridControl : public VXCustomControl {
public:
    static constexpr const char* kClassName = "VXGridControl";
    // WM_COMMAND codes sent to the parent.
    static constexpr int kSelectionChanged = 1;
    static constexpr int kItemActivated = 2;
    // Messages another window (a test, a screen reader) may send to ask.
    static constexpr UINT kGetCount = WM_USER + 1;
    static constexpr UINT kGetSelected = WM_USER + 2;

    explicit VXGridControl(const VXColourScheme& scheme) : m_scheme(scheme) {}

    void setCellSize(int width, int height);
    int cellWidth() const { return m_cell_width; }
    int cellHeight() const { return m_cell_height; }
    virtual int count() const = 0;
    int selected() const { return m_selected; }
    // Selects `index` (-1 for none) and scrolls it into view; no notification.
    void setSelected(int index);
    // Call after items were added or removed.
    void itemsChanged();
    int scrollRow() const { return m_scroll_row; }
    VXGridLayout layout() const;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void draw(HDC dc, const RECT& client) override;
    LRESULT dialogCode() const override { return DLGC_WANTARROWS; }
    virtual void drawItem(HDC dc, int index, const RECT& cell, bool selected) = 0;
    // After the layout or scroll position changed (tooltips follow the cells).
    virtual void layoutChanged() {}
    // The user chose an item (mouse or keys).
    void choose(int index);

    const VXColourScheme& m_scheme;

private:
    void updateScrollBar();
    void scrollTo(int row);
    void ensureVisible(int index);

    int m_cell_width = 70;
    int m_cell_height = 70;
    int m_selected = -1;
    int m_scroll_row = 0;
};

} // namespace morvessan
