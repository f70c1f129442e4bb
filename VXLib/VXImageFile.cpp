// Loading pictures from files and resources: extension dispatch, the try-all pass,
// and the top-down result every caller relies on.
#include "VXLib/VXImageFile.h"

#include "VXLib/VXBitmapReader.h"
#include "VXLib/VXJpegReader.h"
#include "VXLib/VXPngReader.h"
#include "VXLib/VXResources.h"
#include "VXLib/VXUTIL/VXPath.h"

#include <filesystem>
#include <vector>

namespace morvessan {

namespace {

bool topDown(VXImage2& image, bool ok) {
    if (ok && !image.isTopDown())
        image.flipOrientation();
    if (!ok)
        image.reset();
    return ok;
}

bool fileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

} // namespace

bool loadImageFile(const std::string& path, VXImage2& image, bool tryAll) {
    image.setTransparentColour(-1);
    image.setHasAlpha(false);
    const std::string extension = extensionOf(path);
    if (equalsIgnoreCase(extension, ".BMP") && topDown(image, vxLoadBitmapFile(path, image)))
        return true;
    if (equalsIgnoreCase(extension, ".JPG") && topDown(image, vxLoadJpegFile(path, image)))
        return true;
    if (equalsIgnoreCase(extension, ".PNG") && topDown(image, vxLoadPngFile(path, image)))
        return true;
    if (tryAll && fileExists(path)) {
        if (topDown(image, vxLoadBitmapFile(path, image)) || topDown(image, vxLoadJpegFile(path, image)) ||
            topDown(image, vxLoadPngFile(path, image)))
            return true;
    }
    image.reset();
    return false;
}

bool loadImageResource(VXModuleHandle module, int resourceId, const std::string& typeName, const std::string& extension,
                       VXImage2& image) {
    image.reset();
    const auto bytes = vxFindResource(module, resourceId, typeName);
    if (!bytes)
        return false;
    // The decoders work on a copy of their own, as they would on a locked resource.
    const std::vector<std::uint8_t> copy(bytes->begin(), bytes->end());
    if (equalsIgnoreCase(extension, ".JPG"))
        return topDown(image, vxLoadJpegMemory(copy.data(), copy.size(), image));
    if (equalsIgnoreCase(extension, ".PNG"))
        return topDown(image, vxLoadPngMemory(copy.data(), copy.size(), image));
    return false; // ".BMP", ".GIF" and anything else have no resource reader
}

} // namespace morvessan
