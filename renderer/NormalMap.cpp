// Normal maps: slopes by central differences of the texture's values, turned into
// unit normals in the pattern's own units, and written as 16-bit samples.
#include "renderer/NormalMap.h"

#include "renderer/DeepPicture.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace morvessan {

void normalSamples(double slopeX, double slopeY, const NormalStyle& style, std::int32_t width, std::int32_t height,
                   std::uint16_t* rgb) {
    const double unitX = style.unit > 0 ? style.unit : width;
    const double unitY = style.unit > 0 ? style.unit : height;
    const double scale = style.strength / 32.0;
    // Slopes per pattern unit; rows run down the picture, so "up" is -y.
    const double dx = slopeX * unitX * scale;
    const double dyUp = -slopeY * unitY * scale;
    double n[3] = {-dx, style.greenUp ? -dyUp : dyUp, 1.0};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (int i = 0; i < 3; ++i) {
        const double level = std::floor((n[i] / length + 1.0) * 0.5 * 65535.0 + 0.5);
        rgb[i] = static_cast<std::uint16_t>(std::clamp(level, 0.0, 65535.0));
    }
}

namespace {

// One row of normals from the rows above, at and below it (the same row where
// there is none beyond the edge).
void normalRow(const double* above, const double* here, const double* below, bool aboveIsEdge, bool belowIsEdge,
               std::int32_t width, std::int32_t height, bool wrap, const NormalStyle& style, std::uint16_t* out) {
    // One-sided at an edge (a step of one pixel), central elsewhere (two).
    const double spanY = (aboveIsEdge || belowIsEdge) && !wrap ? 1.0 : 2.0;
    for (std::int32_t x = 0; x < width; ++x) {
        std::int32_t left = x - 1;
        std::int32_t right = x + 1;
        double spanX = 2.0;
        if (wrap) {
            left = (left + width) % width;
            right %= width;
        } else {
            if (left < 0) {
                left = 0;
                spanX = 1.0;
            }
            if (right >= width) {
                right = width - 1;
                spanX = 1.0;
            }
        }
        const double slopeX = width > 1 ? (here[right] - here[left]) / spanX : 0.0;
        const double slopeY = height > 1 ? (below[x] - above[x]) / spanY : 0.0;
        normalSamples(slopeX, slopeY, style, width, height, out + 3 * static_cast<std::size_t>(x));
    }
}

} // namespace

bool normalMapRows(const TextureFields& fields, std::int32_t width, std::int32_t height, std::int32_t tileSize,
                   const VXImage2* picture, const NormalStyle& style,
                   const std::function<bool(const std::uint16_t* rgb)>& row, const PatternSpace& pattern) {
    std::vector<std::uint16_t> out(static_cast<std::size_t>(width) * 3);
    const auto rowOf = [width](const std::vector<double>& values, std::int32_t y) {
        return values.data() + static_cast<std::size_t>(y) * width;
    };
    if (pattern.tileable) {
        const std::vector<double> all = pictureTextureValues(fields, width, height, tileSize, picture, pattern);
        for (std::int32_t y = 0; y < height; ++y) {
            normalRow(rowOf(all, (y - 1 + height) % height), rowOf(all, y), rowOf(all, (y + 1) % height), false, false,
                      width, height, true, style, out.data());
            if (!row(out.data())) {
                return false;
            }
        }
        return true;
    }
    // Three rows of values at a time: the one whose normals are made, and its neighbours.
    std::vector<double> window(static_cast<std::size_t>(width) * 3);
    std::int32_t received = 0;
    const auto slot = [&](std::int32_t y) { return window.data() + static_cast<std::size_t>(y % 3) * width; };
    // Row y's normals, once row y + 1 (or the end) has come.
    const auto emit = [&](std::int32_t y) {
        const bool top = y == 0;
        const bool bottom = y == height - 1;
        normalRow(top ? slot(y) : slot(y - 1), slot(y), bottom ? slot(y) : slot(y + 1), top, bottom, width, height,
                  false, style, out.data());
        return row(out.data());
    };
    const bool drawn = textureValueBands(
        fields, width, height, tileSize, picture,
        [&](std::int32_t, std::int32_t rows, const double* values) {
            for (std::int32_t r = 0; r < rows; ++r, ++received) {
                std::copy_n(values + static_cast<std::size_t>(r) * width, width, slot(received));
                if (received >= 1 && !emit(received - 1)) {
                    return false;
                }
            }
            return true;
        },
        pattern);
    return drawn && emit(height - 1);
}

} // namespace morvessan
