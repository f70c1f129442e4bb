// Texture maps for rendering: raw 8-bit values of the picture, luminance for other
// depths, and the neutral map that leaves a texture unchanged.
#include "VXLib/VXTextureMap.h"

#include "VXLib/VXImageFile.h"

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
    VXImage2 picture;
    if (path.empty() || !loadImageFile(path, picture, true))
        return neutralTextureMap();
    VXImage2 map;
    const VXPalette grey = VXPalette::greyPalette();
    const int width = picture.width();
    const int height = picture.rows();
    if (!map.create(width, height, 8, &grey))
        return neutralTextureMap();
    if (picture.bitCount() == 8) {
        for (int y = 0; y < height; ++y)
            std::memcpy(map.row(y), picture.row(y), std::size_t(width));
    } else {
        for (int y = 0; y < height; ++y) {
            std::uint8_t* out = map.row(y);
            for (int x = 0; x < width; ++x)
                out[x] = vxLuminance(picture.pixelColour(x, y));
        }
    }
    return map;
}

} // namespace morvessan
