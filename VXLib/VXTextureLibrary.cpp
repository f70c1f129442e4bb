// The texture library's data: a sorted scan of the textures folder into 8-bit
// pictures, thumbnails, case-insensitive selection by path, and stored paths.
#include "VXLib/VXTextureLibrary.h"

#include "VXLib/VXImageFile.h"
#include "VXLib/VXUTIL/VXPath.h"

#include <algorithm>
#include <cstring>

namespace morvessan {

std::vector<VXTextureItem> scanTextureFolder(const std::string& folder, const VXScanProgress& progress) {
    const std::vector<std::string> names = listFolderNames(folder);

    std::string base = folder;
    if (!base.empty() && base.back() != '/' && base.back() != '\\')
        base += kPathSeparator;
    std::vector<VXTextureItem> items;
    const int total = int(names.size());
    for (int i = 0; i < total; ++i) {
        VXTextureItem item;
        item.path = base + names[i];
        if (loadImageFile(item.path, item.picture) && item.picture.bitCount() == 8) {
            item.caption = titleOf(item.path);
            items.push_back(std::move(item));
        }
        if (progress && !progress(i + 1, total))
            break;
    }
    return items;
}

VXImage2 makeTextureThumbnail(const VXImage2& picture, int width, int height) {
    VXImage2 thumbnail;
    if (!thumbnail.convert(width, height, 24, picture))
        thumbnail.reset();
    return thumbnail;
}

void storeTexturePath(char* field, std::size_t fieldSize, const std::string& path) {
    if (field == nullptr || fieldSize == 0)
        return;
    const std::size_t n = std::min(path.size(), fieldSize - 1);
    std::memset(field, 0, fieldSize);
    std::memcpy(field, path.data(), n);
}

void VXTextureList::fill(const std::string& folder, const VXScanProgress& progress) {
    setItems(scanTextureFolder(folder, progress));
}

void VXTextureList::setItems(std::vector<VXTextureItem> items) {
    m_items = std::move(items);
    m_selected = -1;
}

void VXTextureList::select(int index) { m_selected = index >= 0 && index < int(m_items.size()) ? index : -1; }

std::string VXTextureList::selectedPath() const { return m_selected >= 0 ? m_items[m_selected].path : std::string(); }

bool VXTextureList::selectPath(const std::string& path) {
    m_selected = -1;
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (equalsIgnoreCase(m_items[i].path, path)) {
            m_selected = int(i);
            break;
        }
    return m_selected != -1;
}

std::string VXTextureList::enableTexture() {
    if (m_selected == -1 && !m_items.empty())
        m_selected = 0;
    return selectedPath();
}

} // namespace morvessan
