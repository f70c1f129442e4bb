// The 16-bit run: values gathered in the filter's own tiles, so that a 16-bit
// picture reduced to 8 bits matches the filter's 8-bit one.
#include "job/JobDeepPicture.h"

#include "VXLib/VXImage2.h"
#include "job/JobCanvas.h"
#include "plugin/VXPSFilter.h"
#include "renderer/TextureMapLoader.h"

#include <memory>

namespace morvessan {

DeepCanvas deepCanvas(std::string_view background) {
    const HostImage pixel = blankCanvas(1, 1, background);
    DeepCanvas canvas;
    canvas.transparent = pixel.planes == 4;
    if (!canvas.transparent) {
        for (int c = 0; c < 3; ++c) {
            canvas.colour[c] = pixel.pixels[c];
        }
    }
    return canvas;
}

std::int32_t deepPlanes(DeepKind kind, const DeepCanvas& canvas) {
    return kind == DeepKind::HeightMap ? 1 : kind == DeepKind::NormalMap || !canvas.transparent ? 3 : 4;
}

bool drawDeepPicture(const FilterParameters& block, std::int32_t width, std::int32_t height, const DeepCanvas& canvas,
                     DeepKind kind, const std::function<bool(const std::uint16_t* row)>& row,
                     const PatternSpace& pattern, const NormalStyle& normal) {
    const TextureFields& fields = block.texture;
    std::shared_ptr<const VXImage2> picture;
    if (fields.textureEnabled) {
        picture = loadTextureMap(readField(fields.texturePath, kPathSize));
    }
    if (kind == DeepKind::NormalMap) {
        return normalMapRows(fields, width, height, VXPSFilter::kTileSize, picture.get(), normal, row, pattern);
    }
    const DeepRows rows(fields, kind, canvas, block.scaleBySource != 0, block.overwriteSource != 0);
    std::vector<std::uint16_t> samples(static_cast<std::size_t>(width) * rows.planes());
    return textureValueBands(
        fields, width, height, VXPSFilter::kTileSize, picture.get(),
        [&](std::int32_t, std::int32_t count, const double* values) {
            for (std::int32_t y = 0; y < count; ++y) {
                rows.row(values + static_cast<std::size_t>(y) * width, width, samples.data());
                if (!row(samples.data())) {
                    return false;
                }
            }
            return true;
        },
        pattern);
}

std::vector<std::uint16_t> deepPicture(const FilterParameters& block, std::int32_t width, std::int32_t height,
                                       const DeepCanvas& canvas, DeepKind kind, const PatternSpace& pattern,
                                       const std::function<bool()>& keepGoing, const NormalStyle& normal) {
    std::vector<std::uint16_t> all;
    const std::size_t rowSamples = static_cast<std::size_t>(width) * deepPlanes(kind, canvas);
    all.reserve(rowSamples * height);
    const bool drawn = drawDeepPicture(
        block, width, height, canvas, kind,
        [&](const std::uint16_t* row) {
            all.insert(all.end(), row, row + rowSamples);
            return !keepGoing || keepGoing();
        },
        pattern, normal);
    if (!drawn) {
        all.clear();
    }
    return all;
}

} // namespace morvessan
