// Host services the filter driver passes on: the host's colour picker, the
// help file beside the module and the host's own properties.
#include "plugin/VXPSFilter.h"

#include "plugin/HostHandles.h"

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

std::optional<std::vector<std::uint8_t>> VXPSFilter::HostComplexProperty(std::uint32_t signature, std::uint32_t key,
                                                                         std::size_t most) {
    const FilterRecord* record = GetFilterRecord();
    if (!record || !record->propertyProcs || record->propertyProcs->numPropertyProcs < 1 ||
        !record->propertyProcs->getPropertyProc) {
        return std::nullopt;
    }
    Handle handle = nullptr;
    std::intptr_t simple = 0;
    if (record->propertyProcs->getPropertyProc(signature, key, 0, &simple, &handle) != noErr || !handle) {
        return std::nullopt;
    }
    // The handle is ours now: it goes back to the host whatever happens to its bytes.
    const HostHandles procs(*record);
    struct Disposal {
        const HostHandles& procs;
        Handle handle;
        ~Disposal() {
            if (procs.disposeProc) {
                procs.disposeProc(handle);
            }
        }
    } disposal{procs, handle};
    if (!procs.lockProc || !procs.getSizeProc) {
        return std::nullopt;
    }
    const std::int32_t size = procs.getSizeProc(handle);
    if (size < 0 || static_cast<std::uint64_t>(size) > most) {
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(procs.lockProc(handle, false));
    if (!bytes) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> result(bytes, bytes + size);
    if (procs.unlockProc) {
        procs.unlockProc(handle);
    }
    return result;
}

} // namespace morvessan
