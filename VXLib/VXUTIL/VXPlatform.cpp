// Holder of the current platform implementation.
#include "VXLib/VXUTIL/VXPlatform.h"

namespace morvessan {

namespace {
std::unique_ptr<VXPlatform>& current() {
    static std::unique_ptr<VXPlatform> platform;
    return platform;
}
} // namespace

VXPlatform& vxPlatform() {
    auto& platform = current();
    if (!platform) {
        platform = vxMakeNativePlatform();
    }
    return *platform;
}

std::unique_ptr<VXPlatform> vxSetPlatform(std::unique_ptr<VXPlatform> platform) {
    std::unique_ptr<VXPlatform> previous = std::move(current());
    current() = std::move(platform);
    return previous;
}

} // namespace morvessan
