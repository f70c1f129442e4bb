// The pattern space a host asks for through its property suite: drawn as asked,
// the plane without it or for bytes not ours, impossible settings refused with the image untouched.
#include "HostFixture.h"

#include "texture/PatternSpace.h"
#include "texture/TextureBuilder.h"

using namespace morvessan;
using namespace morvessan::test;

namespace {

std::vector<std::uint8_t> tileBytes() {
    PatternSpace space;
    space.tileable = true;
    return encodePatternSpace(space);
}

} // namespace

TEST_F(PluginTest, TheHostsPatternSpaceIsDrawnAndItsHandleGoesBack) {
    const HostImage original = patternImage(48, 36, 3);
    FilterHost plain;
    plain.setImage(original);
    giveBlock(plain, [](FilterParameters& b) { b.texture.type = kFire; });
    ASSERT_EQ(plain.run(), noErr);

    FilterHost tiled;
    tiled.setImage(original);
    giveBlock(tiled, [](FilterParameters& b) { b.texture.type = kFire; });
    tiled.setComplexProperty(kPatternSpaceSignature, kPatternSpaceKey, tileBytes());
    ASSERT_EQ(tiled.run(), noErr);
    EXPECT_NE(tiled.image(), plain.image());
    EXPECT_FALSE(tiled.parametersLocked());

    // Every pixel is the tile's texture over the source, as the plane's would be.
    FilterParameters block{};
    writeDefaultParameters(block);
    block.texture.type = kFire;
    PatternSpace space;
    space.tileable = true;
    const auto texture = makeTexture(block.texture, space);
    for (std::int32_t y = 0; y < 36; y += 5) {
        for (std::int32_t x = 0; x < 48; x += 7) {
            const unsigned g = 255u * lookupIndex(hostValue(*texture, x, y, 48, 36)) / 1000u;
            const std::uint8_t* in = original.pixel(x, y);
            ASSERT_EQ(tiled.image().pixel(x, y)[0], (in[0] * (255u - g) + g * g) / 255u) << x << "," << y;
        }
    }

    // A property of another signature or key is not ours: the plane.
    FilterHost other;
    other.setImage(original);
    giveBlock(other, [](FilterParameters& b) { b.texture.type = kFire; });
    other.setComplexProperty(kPatternSpaceSignature + 1, kPatternSpaceKey, tileBytes());
    ASSERT_EQ(other.run(), noErr);
    EXPECT_EQ(other.image(), plain.image());
}

TEST_F(PluginTest, PatternSettingsNotOursAreThePlaneAndImpossibleOnesAreRefused) {
    const HostImage original = patternImage(20, 10, 3);
    FilterHost plain;
    plain.setImage(original);
    giveBlock(plain, [](FilterParameters&) {});
    ASSERT_EQ(plain.run(), noErr);
    // Hosts that answer every property query with bytes of their own have no
    // pattern settings for us: the plane, not a refusal.
    std::vector<std::uint8_t> damaged = tileBytes();
    damaged[4] = 0x40; // a flag no host of ours sets
    FilterHost host;
    host.setImage(original);
    giveBlock(host, [](FilterParameters&) {});
    host.setComplexProperty(kPatternSpaceSignature, kPatternSpaceKey, damaged);
    EXPECT_EQ(host.run(), noErr) << host.errorString();
    EXPECT_EQ(host.image(), plain.image());

    FilterHost perspective;
    perspective.setImage(original);
    giveBlock(perspective, [](FilterParameters& b) { b.texture.transformation.m[7] = 0.5; });
    perspective.setComplexProperty(kPatternSpaceSignature, kPatternSpaceKey, tileBytes());
    EXPECT_NE(perspective.run(), noErr);
    EXPECT_NE(perspective.errorString().find("without perspective"), std::string::npos) << perspective.errorString();
    EXPECT_EQ(perspective.image(), original);
}
