// Loading the program's own pictures: a whole file or resource through the decoder's
// indexed form, turned into the packed top-down image every caller relies on.
#include "VXLib/VXImageFile.h"

#include "VXLib/VXPictureDecoder.h"
#include "VXLib/VXResources.h"
#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/VXWholeFile.h"

#include <cstring>
#include <new>
#include <span>
#include <string_view>

namespace morvessan {

namespace {

// Files are read whole: one larger than the most pixel data a picture may have, with
// room for headers, tables and metadata, is refused unread.
constexpr std::uint64_t kMaxPictureFileBytes = kMaxImageBytes + (std::uint64_t(16) << 20);

bool decodeIndexed(std::string_view bytes, VXDecodedPicture& picture) {
    VXPictureReading reading;
    reading.indexed = true;
    std::string error;
    std::string damage;
    return vxDecodePicture(bytes, reading, picture, error, damage);
}

// The decoded rows as an image: one plane with its table, RGB and RGBA with their
// channels in the image's blue-green-red order.
bool imageOf(const VXDecodedPicture& picture, VXImage2& image) {
    image.reset();
    try {
        VXRGBQuad table[VXPalette::kMaxEntries] = {};
        for (std::size_t i = 0; i < picture.palette.size() && i < VXPalette::kMaxEntries; ++i) {
            table[i] = vxQuadOf(picture.palette[i]);
        }
        const VXPalette palette(table, VXPalette::kMaxEntries);
        const int planes = picture.planes;
        if (!image.create(picture.width, picture.height, 8 * planes, planes == 1 ? &palette : nullptr)) {
            image.reset();
            return false;
        }
        const std::size_t rowBytes = std::size_t(picture.width) * std::size_t(planes);
        for (std::int32_t y = 0; y < picture.height; ++y) {
            const std::uint8_t* from = picture.pixels.data() + std::size_t(y) * rowBytes;
            std::uint8_t* to = image.row(y);
            if (planes == 1) {
                std::memcpy(to, from, rowBytes);
                continue;
            }
            for (std::size_t x = 0; x < rowBytes; x += std::size_t(planes)) {
                to[x] = from[x + 2];
                to[x + 1] = from[x + 1];
                to[x + 2] = from[x];
                if (planes == 4) {
                    to[x + 3] = from[x + 3];
                }
            }
        }
        image.setHasAlpha(planes == 4);
        return true;
    } catch (const std::bad_alloc&) {
        image.reset();
        return false;
    }
}

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view magic) {
    return bytes.size() >= magic.size() && std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
}

} // namespace

bool vxReadIndexedPicture(const std::string& path, VXDecodedPicture& picture) {
    if (path.empty()) {
        return false;
    }
    const VXFileBytes file = vxReadWholeFile(path, kMaxPictureFileBytes);
    return file.status == VXReadStatus::Read && decodeIndexed(file.bytes, picture);
}

bool loadImageFile(const std::string& path, VXImage2& image) {
    image.reset();
    VXDecodedPicture picture;
    return vxReadIndexedPicture(path, picture) && imageOf(picture, image);
}

bool loadImageResource(VXModuleHandle module, int resourceId, const std::string& typeName, const std::string& extension,
                       VXImage2& image) {
    image.reset();
    const auto bytes = vxFindResource(module, resourceId, typeName);
    if (!bytes) {
        return false;
    }
    // The extension says what the resource holds; other contents are not taken for it.
    const bool named = (equalsIgnoreCase(extension, ".PNG") && startsWith(*bytes, "\x89PNG\r\n\x1a\n")) ||
                       (equalsIgnoreCase(extension, ".JPG") && startsWith(*bytes, "\xFF\xD8\xFF"));
    VXDecodedPicture picture;
    if (!named ||
        !decodeIndexed(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), picture) ||
        !imageOf(picture, image)) {
        return false;
    }
    image.setTransparentColour(picture.transparentIndex);
    return true;
}

} // namespace morvessan
