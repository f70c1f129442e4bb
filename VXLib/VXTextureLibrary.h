// The texture picture library without its window: scanning the textures folder,
// the list of usable pictures, selection by stored path, and storing a chosen path.
#pragma once

#include "VXLib/VXImage2.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace morvessan {

// One usable picture of the textures folder.
struct VXTextureItem {
    std::string path;    // full path of the file
    std::string caption; // file name without folder and extension
    VXImage2 picture;    // the loaded 8-bit picture, top-down
};

// Called after each entry of the folder with the number processed so far (1, 2, ...)
// and the number there are; returning false stops the scan (items so far are kept).
using VXScanProgress = std::function<bool(int processed, int total)>;

// Reads every entry of `folder` in the order of their names (byte-wise, so every
// platform lists them alike) with loadImageFile, and keeps those that load
// as 8-bit pictures. Entries that do not load, or load with another depth, are left
// out silently. A missing folder gives no items.
std::vector<VXTextureItem> scanTextureFolder(const std::string& folder, const VXScanProgress& progress = {});

// A thumbnail of `picture`: stretched (aspect not kept) to width × height with
// nearest-neighbour scaling, 24 bits, bottom-up. Empty on failure.
VXImage2 makeTextureThumbnail(const VXImage2& picture, int width, int height);

// Writes `path` into a zero-terminated field of `fieldSize` characters (260 for a
// texture path), cut to fieldSize − 1 characters; the rest of the field is zeroed.
void storeTexturePath(char* field, std::size_t fieldSize, const std::string& path);

// The list the texture picker shows: items and the one selected.
class VXTextureList {
public:
    // Replaces the items by a scan of `folder`; the selection is cleared.
    void fill(const std::string& folder, const VXScanProgress& progress = {});
    void setItems(std::vector<VXTextureItem> items);

    const std::vector<VXTextureItem>& items() const { return m_items; }
    bool empty() const { return m_items.empty(); }
    int selectedIndex() const { return m_selected; }
    void select(int index);

    // Full path of the selected item, or "" when nothing is selected.
    std::string selectedPath() const;
    // Selects the first item whose full path equals `path` without regard to case;
    // no match clears the selection. Returns whether an item is selected.
    bool selectPath(const std::string& path);

    // Switching the texture on: when nothing is selected and there are items, item 0
    // is selected. Returns the path to store (the selected one), or "" when none.
    std::string enableTexture();

private:
    std::vector<VXTextureItem> m_items;
    int m_selected = -1;
};

} // namespace morvessan
