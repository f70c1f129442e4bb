// Message boxes of the preset operations, shown through the platform layer.
#include "presets/PresetMessages.h"

namespace morvessan {

void showPresetMessage(const std::string& text, VXMessageIcon icon) {
    vxPlatform().messageBox(text, kPresetCaption, VXMessageButtons::Ok, icon);
}

} // namespace morvessan
