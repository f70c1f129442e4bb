// Normal maps against the height field they come from: each normal is the one the
// values' slopes give (checked against a whole-picture reference, so the three-row
// window and the wrap cannot drift), unit length, smooth when lit, seamless when tiled.
#include "job/JobDeepPicture.h"
#include "plugin/VXPSFilter.h"
#include "renderer/DeepPicture.h"
#include "renderer/NormalMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

using namespace morvessan;

namespace {

double unit(std::uint16_t sample) { return sample / 65535.0 * 2.0 - 1.0; }

TEST(NormalSamples, FlatSlopedAndTheTwoGreenConventions) {
    std::uint16_t n[3];
    normalSamples(0, 0, {}, 100, 100, n);
    EXPECT_EQ(n[0], 32768); // 32767.5 rounds up
    EXPECT_EQ(n[1], 32768);
    EXPECT_EQ(n[2], 65535);
    // Heights rising to the right: the surface faces left.
    normalSamples(0.01, 0, {}, 100, 100, n);
    EXPECT_LT(n[0], 32768);
    EXPECT_EQ(n[1], 32768);
    // Heights rising down the picture face up it: green up in OpenGL's convention, down in DirectX's.
    normalSamples(0, 0.01, {}, 100, 100, n);
    EXPECT_GT(n[1], 32768);
    NormalStyle directX;
    directX.greenUp = false;
    normalSamples(0, 0.01, directX, 100, 100, n);
    EXPECT_LT(n[1], 32768);
    // A slope of 32 height units a pattern unit at strength 1 stands at 45 degrees.
    normalSamples(32.0 / 100, 0, {}, 100, 100, n);
    EXPECT_NEAR(unit(n[0]), -std::sqrt(0.5), 1e-4);
    EXPECT_NEAR(unit(n[2]), std::sqrt(0.5), 1e-4);
    // The same slope per pattern unit at twice the size gives the same normal.
    std::uint16_t twice[3];
    normalSamples(16.0 / 100, 0, {}, 200, 200, twice);
    EXPECT_EQ(twice[0], n[0]);
}

TextureFields rough() {
    FilterParameters block;
    writeDefaultParameters(block);
    block.texture.noiseSeed = 23;
    block.texture.noiseLevel = 9;
    block.texture.noiseEnabled = 1; // grain: the values' sequence must be the one the filter draws
    block.texture.noise = 10;
    return block.texture;
}

// The normals a whole picture of values gives, computed plainly from all of it.
std::vector<std::uint16_t> reference(const TextureFields& fields, std::int32_t w, std::int32_t h, bool wrap,
                                     const NormalStyle& style) {
    PatternSpace pattern;
    pattern.tileable = wrap;
    const std::vector<double> v = pictureTextureValues(fields, w, h, VXPSFilter::kTileSize, nullptr, pattern);
    const auto at = [&](std::int32_t x, std::int32_t y) { return v[static_cast<std::size_t>(y) * w + x]; };
    std::vector<std::uint16_t> out(static_cast<std::size_t>(w) * h * 3);
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            double sx = 0;
            double sy = 0;
            if (wrap) {
                sx = (at((x + 1) % w, y) - at((x + w - 1) % w, y)) / 2;
                sy = (at(x, (y + 1) % h) - at(x, (y + h - 1) % h)) / 2;
            } else {
                const std::int32_t l = std::max(x - 1, 0), r = std::min(x + 1, w - 1);
                const std::int32_t u = std::max(y - 1, 0), d = std::min(y + 1, h - 1);
                sx = r > l ? (at(r, y) - at(l, y)) / (r - l) : 0.0; // a picture one pixel wide is flat across
                sy = d > u ? (at(x, d) - at(x, u)) / (d - u) : 0.0;
            }
            normalSamples(sx, sy, style, w, h, &out[(static_cast<std::size_t>(y) * w + x) * 3]);
        }
    }
    return out;
}

std::vector<std::uint16_t> drawn(const TextureFields& fields, std::int32_t w, std::int32_t h, bool wrap,
                                 const NormalStyle& style) {
    PatternSpace pattern;
    pattern.tileable = wrap;
    std::vector<std::uint16_t> all;
    EXPECT_TRUE(normalMapRows(
        fields, w, h, VXPSFilter::kTileSize, nullptr, style,
        [&](const std::uint16_t* row) {
            all.insert(all.end(), row, row + static_cast<std::size_t>(w) * 3);
            return true;
        },
        pattern));
    return all;
}

TEST(NormalMapRows, AreTheNormalsOfTheWholeHeightFieldPlainAndTiled) {
    NormalStyle style;
    style.strength = 3;
    for (const bool wrap : {false, true}) {
        // Several tiles each way, and sizes that end inside a tile.
        for (const auto& [w, h] : {std::pair{300, 170}, std::pair{1, 40}, std::pair{40, 1}, std::pair{2, 2}}) {
            EXPECT_EQ(drawn(rough(), w, h, wrap, style), reference(rough(), w, h, wrap, style))
                << w << "x" << h << (wrap ? " tiled" : "");
        }
    }
}

TEST(NormalMapRows, AreUnitLengthSmoothWhenLitAndSeamlessWhenTiled) {
    const std::int32_t w = 256, h = 256;
    const std::vector<std::uint16_t> n = drawn(rough(), w, h, true, {});
    std::set<long> lit;
    for (std::size_t i = 0; i < n.size(); i += 3) {
        const double x = unit(n[i]), y = unit(n[i + 1]), z = unit(n[i + 2]);
        ASSERT_NEAR(x * x + y * y + z * z, 1.0, 1e-4);
        // A light from the upper left: made from doubles, the shading has no terraces.
        lit.insert(std::lround((x * -0.5 + y * 0.5 + z * 0.7071) * 65535));
    }
    EXPECT_GT(lit.size(), 5000u);
    // Across the wrap the normals change as little as between any two neighbours.
    const auto step = [&](std::int32_t a, std::int32_t b) {
        double sum = 0;
        for (std::int32_t y = 0; y < h; ++y) {
            for (int c = 0; c < 3; ++c) {
                sum += std::abs(unit(n[(y * w + a) * 3 + c]) - unit(n[(y * w + b) * 3 + c]));
            }
        }
        return sum;
    };
    double inside = 0;
    for (std::int32_t x = 0; x + 1 < w; ++x) {
        inside += step(x, x + 1);
    }
    inside /= w - 1;
    EXPECT_LT(step(w - 1, 0) / inside, 1.5);
    EXPECT_GT(step(w - 1, 0) / inside, 0.5);
}

} // namespace
