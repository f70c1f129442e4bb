// The platform the fuzz targets that run whole filter runs install once: no
// module folder, no settings file, so no run reads or writes anything outside.
#pragma once

#include "VXLib/VXUTIL/VXPortablePlatform.h"

#include <memory>

namespace morvessan {

inline void installFuzzPlatform() {
    static const bool installed = [] {
        auto platform = std::make_unique<VXPortablePlatform>();
        platform->setModulePath("/nonexistent-morvessan-fuzz/XMorvessan.8bf");
        platform->setSettingsFile("");
        vxSetPlatform(std::move(platform));
        return true;
    }();
    (void)installed;
}

} // namespace morvessan
