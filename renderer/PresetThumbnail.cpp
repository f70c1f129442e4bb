// A preset drawn small over a checkerboard, through the same tile renderer as
// the filter, so a thumbnail looks like the texture it stands for.
#include "renderer/PresetThumbnail.h"

#include "VXLib/VXImage2.h"
#include "renderer/TextureMapLoader.h"
#include "renderer/TextureRenderer.h"
#include "texture/TextureBuilder.h"

namespace morvessan {

bool renderPresetThumbnail(const TexturePreset& preset, const VXPSRect& filterRect, MersenneTwister& random,
                           VXImage2& image) {
    if (image.bitCount() != 24 || image.width() <= 0 || image.height() <= 0) {
        return false;
    }
    const std::unique_ptr<Texture3D> texture = makeTexture(preset);
    const std::vector<ColourEntry> table = buildColourTable(preset, ColourOrder::Display);
    std::shared_ptr<const VXImage2> picture;
    if (preset.textureEnabled) {
        picture = loadTextureMap(readField(preset.texturePath, kPathSize));
    }
    const PixelBlock target{image.row(0), image.width(), image.height(), 3, static_cast<std::int32_t>(image.stride()),
                            kLayoutBGR};
    for (std::int32_t y = 0; y < target.height; ++y) {
        std::uint8_t* p = target.row(y);
        for (std::int32_t x = 0; x < target.width; ++x, p += 3) {
            const std::uint8_t grey = ((y / 10 + x / 10) % 2 == 0) ? 192 : 255;
            p[0] = p[1] = p[2] = grey;
        }
    }
    TextureRenderSettings settings;
    settings.texture = texture.get();
    settings.colourTable = table.data();
    settings.textureImage = picture.get();
    settings.random = &random;
    settings.fields = &preset;
    settings.filterRect = filterRect;
    if (filterRect.isEmpty()) {
        settings.filterRect = {0, 0, target.width, target.height};
    }
    renderTextureTile(settings, target, target, PixelBlock{}, settings.filterRect);
    return true;
}

} // namespace morvessan
