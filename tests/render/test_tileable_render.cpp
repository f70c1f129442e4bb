// A tile's blur wraps: the renderer's border values beyond the tile are the
// periodic texture's, so the blurred tile is the circular blur of the unblurred one.
#include "renderer/TextureRenderer.h"
#include "texture/TextureBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace morvessan;

TEST(TileableRender, TheBlurOfATileWrapsAroundItsEdges) {
    TextureFields fields;
    fields.type = kMarble;
    fields.noiseSeed = 8;
    fields.transformation.m[0] = 2.6;
    fields.transformation.m[1] = 0.7;
    fields.transformation.m[4] = 1.8;
    PatternSpace tile;
    tile.tileable = true;
    const auto texture = makeTexture(fields, tile);
    constexpr std::int32_t kW = 40;
    constexpr std::int32_t kH = 30;
    TextureRenderSettings settings;
    settings.texture = texture.get();
    settings.fields = &fields;
    settings.filterRect = {0, 0, kW, kH};
    const VXPSRect whole{0, 0, kW, kH};
    const std::vector<double> sharp = textureValues(settings, kW, kH, whole);
    fields.blurEnabled = 1;
    fields.blur = 10; // a border of 3: a 7 x 7 box
    ASSERT_EQ(blurBorder(fields, kW, kW), 3);
    const std::vector<double> blurred = textureValues(settings, kW, kH, whole);
    int edgeDifferences = 0;
    for (std::int32_t y = 0; y < kH; ++y) {
        for (std::int32_t x = 0; x < kW; ++x) {
            double sum = 0.0;
            for (int j = -3; j <= 3; ++j) {
                for (int i = -3; i <= 3; ++i) {
                    sum += sharp[static_cast<std::size_t>((y + j + kH) % kH) * kW + (x + i + kW) % kW];
                }
            }
            const double expected = std::clamp(sum / 49.0, -1.0, 1.0);
            ASSERT_NEAR(blurred[static_cast<std::size_t>(y) * kW + x], expected, 1e-9) << x << "," << y;
            edgeDifferences += (x < 3 || y < 3) && std::abs(sharp[y * kW + x] - expected) > 1e-3;
        }
    }
    EXPECT_GT(edgeDifferences, 20); // the blur did act at the edges
}
