// Scanning the textures folder for the picker, and storing the chosen picture's path.
#include "dialog/PSMorvessanTextureLibraryModel.h"

#include "VXLib/VXUTIL/VXPlatform.h"
#include "texture/TexturePreset.h"

namespace morvessan {

void PSMorvessanTextureLibraryModel::scan(const std::string& folder, const PSMorvessanScanProgress& progress) {
    VXPlatform& platform = vxPlatform();
    const VXCursorHandle saved = platform.currentCursor();
    platform.showCursor(VXCursorKind::Wait);
    VXScanProgress report;
    if (progress) {
        report = [&progress](int processed, int) { return progress(processed); };
    }
    try {
        m_list.fill(folder, report);
    } catch (...) {
        platform.restoreCursor(saved);
        throw;
    }
    m_scanned = true;
    platform.restoreCursor(saved);
}

VXImage2 PSMorvessanTextureLibraryModel::thumbnail(int index, int width, int height) const {
    return makeTextureThumbnail(picture(index), width, height);
}

void PSMorvessanTextureLibraryModel::selectFirstIfNone() { m_list.enableTexture(); }

bool PSMorvessanTextureLibraryModel::storeSelectedPath(TextureFields& fields) const {
    if (m_list.selectedIndex() < 0) {
        return false;
    }
    storeTexturePath(fields.texturePath, kPathSize, m_list.selectedPath());
    return true;
}

} // namespace morvessan
