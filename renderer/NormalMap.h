// Tangent-space normal maps from the texture's own values (doubles, never 8-bit
// pixels): central differences, wrapping round a seamless tile, as 16-bit RGB.
#pragma once

#include "texture/PatternSpace.h"
#include "texture/TexturePreset.h"

#include <cstdint>
#include <functional>

namespace morvessan {

class VXImage2;

struct NormalStyle {
    // How steep the heights stand: the slope is strength / 32 of a height unit
    // (-1..1 spans two) per pattern unit, so a picture drawn at another size keeps its look.
    double strength = 1.0;
    // Green points up the picture (OpenGL's convention); false: down (DirectX's).
    bool greenUp = true;
    // Pixels to the pattern's unit both ways (a pattern size); 0: the picture's width
    // across and its height down, as the pattern stretches with the rectangle.
    double unit = 0;
};

inline constexpr double kMaxNormalStrength = 100.0;

// One normal (-1..1 each) from the slopes of the height field in height units per
// pixel (x to the right, y down the picture), as 16-bit samples: (n + 1) / 2 x 65535
// rounded. `width` and `height` are the picture's, for the style's default unit.
void normalSamples(double slopeX, double slopeY, const NormalStyle& style, std::int32_t width, std::int32_t height,
                   std::uint16_t* rgb);

// Every row of a width x height normal map of `fields`, in order, as width x 3
// samples: the values computed as the filter computes them (textureValueBands),
// differences taken across one pixel each way (one-sided at the edges of a plain
// picture, round the edges of a tileable one). A plain picture is drawn holding
// three rows of values; a tileable one holds all its values (8 bytes a pixel), its
// first row needing its last. False when `row` stopped it.
bool normalMapRows(const TextureFields& fields, std::int32_t width, std::int32_t height, std::int32_t tileSize,
                   const VXImage2* picture, const NormalStyle& style,
                   const std::function<bool(const std::uint16_t* rgb)>& row, const PatternSpace& pattern = {});

} // namespace morvessan
