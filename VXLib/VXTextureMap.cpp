// Texture maps for rendering: raw 8-bit values of the picture, luminance for other
// depths, and the neutral map that leaves a texture unchanged.
#include "VXLib/VXTextureMap.h"

#include "VXLib/VXImageFile.h"
#include "VXLib/VXPictureDecoder.h"

#include <cstring>

namespace morvessan {

std::uint8_t vxLuminance(std::uint32_t colour) {
    // 0.299 R + 0.587 G + 0.114 B in thousandths, so rounding is exact.
    const std::uint32_t sum = 299u * vxRed(colour) + 587u * vxGreen(colour) + 114u * vxBlue(colour);
    return std::uint8_t((sum + 500u) / 1000u);
}

VXImage2 neutralTextureMap() {
    VXImage2 map;
    const VXPalette grey = VXPalette::greyPalette();
    map.create(kNeutralTextureSize, kNeutralTextureSize, 8, &grey);
    for (int y = 0; y < kNeutralTextureSize; ++y)
        std::memset(map.row(y), kNeutralTextureValue, kNeutralTextureSize);
    return map;
}

VXImage2 prepareTextureMap(const std::string& path) {
    VXDecodedPicture picture;
    if (!vxReadIndexedPicture(path, picture))
        return neutralTextureMap();
    VXImage2 map;
    const VXPalette grey = VXPalette::greyPalette();
    if (!map.create(picture.width, picture.height, 8, &grey))
        return neutralTextureMap();
    const std::size_t width = std::size_t(picture.width);
    const std::size_t planes = std::size_t(picture.planes);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* from = picture.pixels.data() + std::size_t(y) * width * planes;
        std::uint8_t* out = map.row(y);
        if (planes == 1) {
            std::memcpy(out, from, width);
            continue;
        }
        for (std::size_t x = 0; x < width; ++x, from += planes)
            out[x] = vxLuminance(vxRGB(from[0], from[1], from[2]));
    }
    return map;
}

} // namespace morvessan
