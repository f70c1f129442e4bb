// Host services the filter driver passes on to its dialogs: the host's colour
// picker and the help file beside the module.
#include "plugin/VXPSFilter.h"

#include "VXLib/VXUTIL/VXPath.h"

#include <algorithm>

namespace morvessan {

bool VXPSFilter::ChooseColour(std::uint32_t& colour) {
    const FilterRecord* record = GetFilterRecord();
    if (!record || !record->colorServices) {
        return false;
    }
    ColorServicesInfo info{};
    info.infoSize = sizeof(ColorServicesInfo);
    info.selector = plugIncolorServicesChooseColor;
    info.sourceSpace = plugIncolorServicesRGBSpace;
    info.resultSpace = plugIncolorServicesRGBSpace;
    info.colorComponents[0] = static_cast<int16>(colour & 0xFF);
    info.colorComponents[1] = static_cast<int16>((colour >> 8) & 0xFF);
    info.colorComponents[2] = static_cast<int16>((colour >> 16) & 0xFF);
    if (record->colorServices(&info) != noErr) {
        return false;
    }
    const auto channel = [](int16 c) { return static_cast<std::uint32_t>(std::clamp<int>(c, 0, 255)); };
    colour = channel(info.colorComponents[0]) | channel(info.colorComponents[1]) << 8 |
             channel(info.colorComponents[2]) << 16;
    return true;
}

void VXPSFilter::GetHelpFilePath(std::string& path) { path = replaceExtension(vxPlatform().modulePath(), ".chm"); }

void VXPSFilter::ShowHelpTopic(const std::string& topic) {
    std::string path;
    GetHelpFilePath(path);
    vxPlatform().showHelp(path + topic);
}

} // namespace morvessan
