// The texture rendering pipeline of one tile: texture values, grain noise, blur,
// texture picture, colour table and blending over the source under the mask.
#pragma once

#include "texture/MersenneTwister.h"
#include "renderer/PixelBlock.h"
#include "texture/ColourTable.h"
#include "texture/Texture3D.h"
#include "texture/TexturePreset.h"

#include <vector>

namespace morvessan {

class VXImage2;

// Buffers a series of tiles reuses: they only grow, so a render's tiles neither
// allocate nor clear memory after the first.
struct TileBuffers {
    std::vector<double> values;  // the tile's values, with the blur's border while it runs
    std::vector<double> blurred; // the blur's result
    std::vector<double> rowSums; // the blur's sums along the rows
    std::vector<double> columnSums;
    std::vector<double> xs;
    std::vector<double> ys;
    std::vector<std::uint32_t> draws;
    std::vector<std::int32_t> pictureRows;
};

struct TextureRenderSettings {
    const Texture3D* texture = nullptr;
    const ColourEntry* colourTable = nullptr; // 1000 entries in the pixels' channel order
    const VXImage2* textureImage = nullptr;   // 8-bit map; used when the texture option is on
    MersenneTwister* random = nullptr;        // grain noise source; used when the noise option is on
    const TextureFields* fields = nullptr;
    bool scaleBySource = false;
    bool overwriteSource = false; // acts only together with scaleBySource
    VXPSRect filterRect;
    TileBuffers* buffers = nullptr; // reused between calls when given
};

// Renders `rect` of the image (W × H pixels in `in` and `out`) with `mask`
// (its data may be null for none). `in` and `out` may be the same pixels.
void renderTextureTile(const TextureRenderSettings& settings, const PixelBlock& in, const PixelBlock& out,
                       const PixelBlock& mask, const VXPSRect& rect);

// The stages, for tests: the border the blur needs, and the value buffer
// before colouring (W × H values, row by row).
std::int32_t blurBorder(const TextureFields& fields, std::int32_t width, std::int32_t rectWidth);
std::vector<double> textureValues(const TextureRenderSettings& settings, std::int32_t width, std::int32_t height,
                                  const VXPSRect& rect);

} // namespace morvessan
