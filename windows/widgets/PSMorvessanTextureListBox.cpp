// Texture thumbnails: each picture stretched to the cell, copied into a section.
#include "windows/widgets/PSMorvessanTextureListBox.h"

#include "windows/widgets/PSMorvessanPresetsListBox.h"

#include <cstring>

namespace morvessan {

void PSMorvessanTextureListBox::fill(const PSMorvessanTextureLibraryModel& library) {
    clear();
    const VXThumbnailMetrics metrics = thumbnailMetrics();
    for (int i = 0; i < library.count(); ++i) {
        std::unique_ptr<VXImage2> thumbnail;
        const VXImage2 stretched = library.thumbnail(i, metrics.width, metrics.height);
        if (stretched.width() > 0) {
            thumbnail = vxMakeThumbnail(stretched.width(), std::abs(stretched.height()));
            if (thumbnail) {
                for (int y = 0; y < std::abs(stretched.height()); ++y) {
                    std::memcpy(thumbnail->row(y), stretched.row(y), static_cast<std::size_t>(stretched.width()) * 3);
                }
            }
        }
        addItem(library.caption(i), std::move(thumbnail));
    }
    setSelected(library.selectedIndex());
}

} // namespace morvessan
