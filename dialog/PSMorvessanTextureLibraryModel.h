// The texture picker's contents without its window: the scan of the textures
// folder, the items it keeps, selection by stored path, and storing the chosen path.
#pragma once

#include "VXLib/VXTextureLibrary.h"

#include <cstddef>
#include <functional>
#include <string>

namespace morvessan {

struct TextureFields;

// Called after each file of a scan with the number processed so far (1, 2, ...);
// returning false stops the scan, keeping the items loaded until then.
using PSMorvessanScanProgress = std::function<bool(int processed)>;

class PSMorvessanTextureLibraryModel {
public:
    static constexpr const char* kProgressTitle = "Loading Textures...";
    // The progress window's range and its position before the first file.
    static constexpr int kProgressRange = 100;
    static constexpr int kProgressStart = 50;

    // Fills the picker from `folder` under the wait cursor; the selection is
    // cleared. Only 8-bit pictures become items, captioned without folder and extension.
    void scan(const std::string& folder, const PSMorvessanScanProgress& progress = {});
    bool scanned() const { return m_scanned; }

    int count() const { return static_cast<int>(m_list.items().size()); }
    const std::string& path(int index) const { return m_list.items().at(static_cast<std::size_t>(index)).path; }
    const std::string& caption(int index) const { return m_list.items().at(static_cast<std::size_t>(index)).caption; }
    // The loaded 8-bit picture of an item, top-down.
    const VXImage2& picture(int index) const { return m_list.items().at(static_cast<std::size_t>(index)).picture; }
    // The item's picture stretched to width x height, 24 bits, bottom-up; empty on failure.
    VXImage2 thumbnail(int index, int width, int height) const;

    int selectedIndex() const { return m_list.selectedIndex(); }
    // The selected item's full path, "" when none is selected.
    std::string selectedPath() const { return m_list.selectedPath(); }
    // Selects the first item whose path equals `path` without regard to case;
    // otherwise nothing is selected. True when an item is selected.
    bool selectPath(const std::string& path) { return m_list.selectPath(path); }
    // Selects an item (an index outside the list clears the selection).
    void select(int index) { m_list.select(index); }
    // Switching the texture on: item 0 when nothing is selected and there are items.
    void selectFirstIfNone();

    // Writes the selected path into the texture path field: at most 259
    // characters, the rest of the field zero. False (field untouched) without a selection.
    bool storeSelectedPath(TextureFields& fields) const;

private:
    VXTextureList m_list;
    bool m_scanned = false;
};

} // namespace morvessan
