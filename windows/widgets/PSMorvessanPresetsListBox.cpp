// Preset thumbnails rendered through the plug-in, one per preset of the category.
#include "windows/widgets/PSMorvessanPresetsListBox.h"

#include <algorithm>

namespace morvessan {

std::unique_ptr<VXImage2> vxMakeThumbnail(int width, int height) {
    auto image = std::make_unique<VXImage2>();
    if (!image->createDIBSection(std::max(width, 1), std::max(height, 1), 24, nullptr, true)) {
        return nullptr;
    }
    return image;
}

void PSMorvessanPresetsListBox::fill(const PSMorvessanPresetPickersModel& model) {
    clear();
    const VXThumbnailMetrics metrics = thumbnailMetrics();
    const std::vector<std::string>& names = model.presetNames();
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        std::unique_ptr<VXImage2> thumbnail = vxMakeThumbnail(metrics.width, metrics.height);
        if (thumbnail && !model.renderThumbnail(i, *thumbnail)) {
            thumbnail.reset();
        }
        addItem(names[static_cast<std::size_t>(i)], std::move(thumbnail));
    }
    setSelected(model.selectedPreset());
}

} // namespace morvessan
