// VXPSImageListBox: a grid of thumbnails with captions below them; captions
// too long for their cell end in "..." and show whole in a tooltip.
#pragma once

#include "VXLib/VXImage2.h"
#include "windows/toolkit/VXToolTip.h"
#include "windows/widgets/VXGridControl.h"

#include <memory>
#include <string>
#include <vector>

namespace morvessan {

class VXPSImageListBox : public VXGridControl {
public:
    explicit VXPSImageListBox(const VXColourScheme& listScheme) : VXGridControl(listScheme) {}

    int count() const override { return static_cast<int>(m_items.size()); }
    // Appends an item; the list owns the thumbnail (which may be null).
    int addItem(std::string caption, std::unique_ptr<VXImage2> thumbnail);
    void clear();
    const std::string& caption(int index) const { return m_items[index].caption; }
    // The size thumbnails should have for the current cell size and font.
    VXThumbnailMetrics thumbnailMetrics() const;
    // The caption as the cell shows it.
    std::string shownCaption(int index) const;
    // Rebuilds the tooltips of the cut captions that are in view.
    void rebuildToolTips();

protected:
    void drawItem(HDC dc, int index, const RECT& cell, bool selected) override;
    void layoutChanged() override { rebuildToolTips(); }
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Item {
        std::string caption;
        std::unique_ptr<VXImage2> thumbnail;
    };
    int textHeight() const;

    std::vector<Item> m_items;
    VXToolTip m_tooltips;
    int m_tip_count = 0;
};

} // namespace morvessan
