// The texture picture of "Apply Texture" as the 8-bit map the renderer samples,
// decoded once and shared while its file is unchanged and someone uses it (the
// dialog asks at every edit).
#include "renderer/TextureMapLoader.h"

#include "VXLib/VXPictureDecoder.h"
#include "VXLib/VXTextureMap.h"
#include "VXLib/VXUTIL/VXWholeFile.h"

#include <filesystem>
#include <mutex>

namespace morvessan {

namespace {

// Only while someone holds it: a large picture is freed when the last render or
// dialog that uses it lets it go, not kept until the module is unloaded.
struct LastMap {
    std::string path;
    VXFileStamp stamp;
    std::weak_ptr<const VXImage2> image;
};

std::mutex g_mutex;
LastMap g_last;

} // namespace

std::string textureMapSizeProblem(const std::string& path) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
        return {};
    }
    const std::uintmax_t bytes = std::filesystem::file_size(path, ec);
    if (!ec && bytes > kMaxTextureFileBytes) {
        return "its file has " + std::to_string(bytes) + " bytes, more than the " +
               std::to_string(kMaxTextureFileBytes >> 20) + " MiB a texture picture may have";
    }
    const VXFileBytes file = vxReadWholeFile(path, kMaxTextureFileBytes);
    if (file.status != VXReadStatus::Read) {
        return {};
    }
    VXPictureReading reading;
    reading.headerOnly = true;
    VXDecodedPicture header;
    std::string error;
    std::string damage;
    if (!vxDecodePicture(file.bytes, reading, header, error, damage)) {
        return {};
    }
    if (std::int64_t(header.width) * header.height > kMaxTexturePixels) {
        return "it is " + std::to_string(header.width) + " x " + std::to_string(header.height) +
               " pixels, more than the 8192 x 8192 a texture picture may have";
    }
    return {};
}

std::shared_ptr<const VXImage2> loadTextureMap(const std::string& path) {
    // A block from a host names any path; only plain files are read, so a device
    // or a pipe can never stall a render.
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
        return std::make_shared<const VXImage2>(neutralTextureMap());
    }
    const std::string whole = std::filesystem::absolute(path, ec).string(); // the same file from any folder
    VXFileStamp stamp;
    const bool known = !ec && vxFileStamp(path, stamp);
    const std::lock_guard<std::mutex> lock(g_mutex);
    if (known && g_last.path == whole && g_last.stamp == stamp) {
        if (std::shared_ptr<const VXImage2> held = g_last.image.lock()) {
            return held;
        }
    }
    auto image = std::make_shared<const VXImage2>(textureMapSizeProblem(path).empty() ? prepareTextureMap(path)
                                                                                      : neutralTextureMap());
    if (known) {
        g_last = {whole, stamp, image};
    }
    return image;
}

} // namespace morvessan
