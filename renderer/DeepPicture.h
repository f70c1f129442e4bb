// Pictures in 16 bits a sample, made straight from the texture values band by
// band: the smooth-gradient colour picture and the height map of the raw values.
#pragma once

#include "texture/DeepGradient.h"
#include "texture/PatternSpace.h"
#include "texture/TexturePreset.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace morvessan {

class VXImage2;

// The smooth-gradient colours, the height map of the raw values, or the normal map
// of their slopes (renderer/NormalMap.h).
enum class DeepKind { Colour, HeightMap, NormalMap };

// The blank canvas the texture is drawn over: a colour, or transparent.
struct DeepCanvas {
    std::uint8_t colour[3] = {255, 255, 255};
    bool transparent = false;
};

// Told each band of rows [top, top + rows) as its values are done: rows x width
// values, row by row. False stops the drawing.
using ValueBand = std::function<bool(std::int32_t top, std::int32_t rows, const double* values)>;

// Every texture value of a width x height picture, computed as the filter computes
// them: in square tiles of `tileSize` in the filter's order, the grain drawn from
// one sequence seeded as at the start of a run, `picture` the texture picture's
// 8-bit map (used when the fields ask for it; may be null). One band of tiles is
// held at a time, so any size takes width x tileSize values of memory. False
// when a band stopped it.
// `pattern` is the space drawn in (the plane by default; it must have no patternProblem).
bool textureValueBands(const TextureFields& fields, std::int32_t width, std::int32_t height, std::int32_t tileSize,
                       const VXImage2* picture, const ValueBand& band, const PatternSpace& pattern = {});
// The same values, all of them, row by row.
std::vector<double> pictureTextureValues(const TextureFields& fields, std::int32_t width, std::int32_t height,
                                         std::int32_t tileSize, const VXImage2* picture,
                                         const PatternSpace& pattern = {});

// A texture value -1..1 as a height-map level: floor((v + 1) x 32767.5 + 0.5),
// so -1 is 0, 0 is 32768 and 1 is 65535; outside -1..1 limited, not a number 0.
std::uint16_t heightLevel(double v);

// Rows of values as 16-bit samples: one grey height level a pixel, or the
// gradient at each value's exact position laid over the canvas as the filter
// lays its 8-bit colours (RGB over a colour, the colour's share 65535 - alpha;
// RGBA over a transparent canvas). With `scaleBySource` the position is scaled
// by the canvas's brightness, and with `overwriteSource` too the colour
// replaces the canvas instead of covering it.
class DeepRows {
public:
    DeepRows(const TextureFields& fields, DeepKind kind, const DeepCanvas& canvas, bool scaleBySource,
             bool overwriteSource);

    std::int32_t planes() const { return m_planes; }
    // `width` values into width x planes() samples.
    void row(const double* values, std::int32_t width, std::uint16_t* out) const;

private:
    DeepKind m_kind;
    DeepGradient m_gradient;
    std::int32_t m_planes;
    std::uint32_t m_under[3];
    int m_source_sum;
    bool m_scale;
    bool m_overwrite;
};

} // namespace morvessan
