// 16-bit pictures: the filter's tiles of values gathered band by band, then
// mapped to height levels or coloured by the exact gradient.
#include "renderer/DeepPicture.h"

#include "renderer/TextureRenderer.h"
#include "texture/MersenneTwister.h"
#include "texture/TextureBuilder.h"

#include <algorithm>
#include <cmath>

namespace morvessan {

bool textureValueBands(const TextureFields& fields, std::int32_t width, std::int32_t height, std::int32_t tileSize,
                       const VXImage2* picture, const ValueBand& band, const PatternSpace& pattern) {
    if (width <= 0 || height <= 0 || tileSize <= 0) {
        return true;
    }
    const std::unique_ptr<Texture3D> texture = makeTexture(fields, pattern);
    MersenneTwister random;
    random.Seed(1);
    TextureRenderSettings settings;
    settings.texture = texture.get();
    settings.textureImage = picture;
    settings.random = &random;
    settings.fields = &fields;
    settings.filterRect = VXPSRect{0, 0, width, height};
    TileBuffers buffers;
    settings.buffers = &buffers;
    std::vector<double> values;
    // The tiles in the order the filter asks the host for them: the grain's
    // sequence runs on from tile to tile.
    for (std::int32_t top = 0; top < height; top += tileSize) {
        const std::int32_t rows = std::min(tileSize, height - top);
        values.resize(static_cast<std::size_t>(width) * rows);
        for (std::int32_t left = 0; left < width; left += tileSize) {
            const VXPSRect tile{left, top, std::min(left + tileSize, width), top + rows};
            const std::vector<double> part = textureValues(settings, tile.width(), rows, tile);
            for (std::int32_t y = 0; y < rows; ++y) {
                std::copy_n(part.data() + static_cast<std::size_t>(y) * tile.width(), tile.width(),
                            values.data() + static_cast<std::size_t>(y) * width + left);
            }
        }
        if (!band(top, rows, values.data())) {
            return false;
        }
    }
    return true;
}

std::vector<double> pictureTextureValues(const TextureFields& fields, std::int32_t width, std::int32_t height,
                                         std::int32_t tileSize, const VXImage2* picture, const PatternSpace& pattern) {
    std::vector<double> all;
    all.reserve(static_cast<std::size_t>(std::max(width, 0)) * std::max(height, 0));
    textureValueBands(
        fields, width, height, tileSize, picture,
        [&all, width](std::int32_t, std::int32_t rows, const double* values) {
            all.insert(all.end(), values, values + static_cast<std::size_t>(width) * rows);
            return true;
        },
        pattern);
    return all;
}

std::uint16_t heightLevel(double v) {
    if (!(v > -1.0)) {
        return 0;
    }
    if (v >= 1.0) {
        return 65535;
    }
    return static_cast<std::uint16_t>(std::floor((v + 1.0) * 32767.5 + 0.5));
}

namespace {

// (a x p + b x q) / 65535 to the nearest level, p + q = 65535; exact in doubles.
std::uint16_t mix(std::uint32_t a, std::uint32_t p, std::uint32_t b, std::uint32_t q) {
    const double sum = static_cast<double>(a) * p + static_cast<double>(b) * q;
    return static_cast<std::uint16_t>(std::floor(sum / 65535.0 + 0.5));
}

} // namespace

DeepRows::DeepRows(const TextureFields& fields, DeepKind kind, const DeepCanvas& canvas, bool scaleBySource,
                   bool overwriteSource)
    : m_kind(kind), m_gradient(fields), m_planes(kind == DeepKind::HeightMap ? 1
                                                 : canvas.transparent        ? 4
                                                                             : 3),
      // A transparent canvas is black with no opacity, as the blank 8-bit canvas is.
      m_under{canvas.transparent ? 0u : canvas.colour[0] * 257u, canvas.transparent ? 0u : canvas.colour[1] * 257u,
              canvas.transparent ? 0u : canvas.colour[2] * 257u},
      m_source_sum(canvas.transparent ? 0 : canvas.colour[0] + canvas.colour[1] + canvas.colour[2]),
      m_scale(scaleBySource), m_overwrite(scaleBySource && overwriteSource) {}

void DeepRows::row(const double* values, std::int32_t width, std::uint16_t* out) const {
    for (std::int32_t x = 0; x < width; ++x) {
        const double v = values[x];
        if (m_kind == DeepKind::HeightMap) {
            *out++ = heightLevel(v);
            continue;
        }
        const DeepColour c = m_gradient.at(m_scale ? scaledTablePosition(v, m_source_sum) : tablePosition(v));
        const std::uint32_t a = c.alpha;
        if (m_planes == 4) {
            // Over nothing the colour keeps its own opacity; none at all leaves zeros.
            const bool none = a == 0 && !m_overwrite;
            for (int k = 0; k < 3; ++k) {
                *out++ = none ? 0 : c.channel[k];
            }
            *out++ = static_cast<std::uint16_t>(a);
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            *out++ = m_overwrite ? c.channel[k] : mix(m_under[k], 65535 - a, c.channel[k], a);
        }
    }
}

} // namespace morvessan
