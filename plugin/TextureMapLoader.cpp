// The texture picture of "Apply Texture" as the 8-bit map the renderer samples.
#include "plugin/PSMorvessanPlugin.h"

#include "VXLib/VXTextureMap.h"

#include <filesystem>

namespace morvessan {

std::unique_ptr<VXImage2> loadTextureMap(const std::string& path) {
    // A block from a host names any path; only plain files are read, so a device
    // or a pipe can never stall a render.
    std::error_code ec;
    const bool readable = !path.empty() && std::filesystem::is_regular_file(path, ec);
    return std::make_unique<VXImage2>(readable ? prepareTextureMap(path) : neutralTextureMap());
}

} // namespace morvessan
