// 16-bit pictures against the filter's own 8-bit run of the same block: the
// height map holds the very values the filter coloured; the height levels'
// rounding; a refused row ends the drawing.
#include "host/FilterHost.h"
#include "job/JobCanvas.h"
#include "job/JobDeepPicture.h"
#include "texture/ColourTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace morvessan;

namespace {

TEST(HeightLevel, MapsMinusOneToOneOntoEveryLevelRoundingHalfUp) {
    EXPECT_EQ(heightLevel(-1.0), 0);
    EXPECT_EQ(heightLevel(1.0), 65535);
    EXPECT_EQ(heightLevel(0.0), 32768); // 32767.5 rounds up
    EXPECT_EQ(heightLevel(-0.5), 16384);
    EXPECT_EQ(heightLevel(-1.0 + 1.0 / 32767.5), 1);
    EXPECT_EQ(heightLevel(1.0 - 0.5 / 32767.5), 65535);
    EXPECT_EQ(heightLevel(1.0 - 0.5001 / 32767.5), 65534);
    EXPECT_EQ(heightLevel(-7.0), 0);
    EXPECT_EQ(heightLevel(7.0), 65535);
    EXPECT_EQ(heightLevel(std::numeric_limits<double>::quiet_NaN()), 0);
}

// A block spanning several tiles, with grain and blur, whose gradient is opaque
// black to white: the filter's 8-bit level then tells the table entry.
FilterParameters grainyBlock() {
    FilterParameters block;
    writeDefaultParameters(block);
    TextureFields& f = block.texture;
    f.noiseSeed = 11;
    f.colours[0] = 0xFF000000u;
    f.noiseEnabled = 1;
    f.noise = 20;
    f.blurEnabled = 1;
    f.blur = 4;
    return block;
}

HostImage filtered(const FilterParameters& block, HostImage canvas) {
    FilterHost host;
    host.setImage(std::move(canvas));
    host.setPlayInfo(plugInDialogSilent);
    std::vector<std::uint8_t> bytes(kFilterParametersSize);
    std::memcpy(bytes.data(), &block, kFilterParametersSize);
    host.setParameterBytes(bytes);
    EXPECT_EQ(host.run(), noErr);
    return std::move(host.image());
}

constexpr std::int32_t kWidth = 300; // three tiles across, two down
constexpr std::int32_t kHeight = 150;

TEST(DeepPicture, TheHeightMapHoldsTheValuesTheFilterColours) {
    const FilterParameters block = grainyBlock();
    const HostImage eight = filtered(block, blankCanvas(kWidth, kHeight, "white"));
    const std::vector<std::uint16_t> map =
        deepPicture(block, kWidth, kHeight, deepCanvas("white"), DeepKind::HeightMap);
    ASSERT_EQ(map.size(), static_cast<std::size_t>(kWidth) * kHeight);
    int exact = 0;
    for (std::size_t i = 0; i < map.size(); ++i) {
        // The entry the level stands for, and the grey the table holds there.
        const double v = map[i] / 32767.5 - 1.0;
        const int entry = lookupIndex(v);
        const int grey = 255 * entry / 1000;
        const int got = eight.pixels[i * 3];
        ASSERT_LE(std::abs(got - grey), 1) << "pixel " << i;
        exact += got == grey;
    }
    // A level is 1/65535 of the range, a table entry 1/1000: few fall on a bound.
    EXPECT_GT(exact, static_cast<int>(map.size() * 97 / 100));
}

TEST(DeepPicture, ARowThatIsRefusedEndsTheDrawing) {
    int rows = 0;
    EXPECT_FALSE(drawDeepPicture(grainyBlock(), kWidth, kHeight, deepCanvas("white"), DeepKind::Colour,
                                 [&rows](const std::uint16_t*) { return ++rows < 3; }));
    EXPECT_EQ(rows, 3);
}

} // namespace
