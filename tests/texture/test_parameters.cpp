// The stored parameter block: default bytes, field strings, and the run-time's
// random sequence that the textures' reproducibility rests on.
#include "texture/FilterParameters.h"
#include "texture/MsRandom.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace morvessan;

namespace {

void putInt(std::vector<std::uint8_t>& b, std::size_t at, std::int32_t v) { std::memcpy(&b[at], &v, 4); }
void putDouble(std::vector<std::uint8_t>& b, std::size_t at, double v) { std::memcpy(&b[at], &v, 8); }

// The default block written by hand from the field table, over a zero-filled buffer.
std::vector<std::uint8_t> expectedDefaultBlock() {
    std::vector<std::uint8_t> b(832, 0);
    putInt(b, 0, 1);
    putDouble(b, 8, 8.0);
    putInt(b, 16, 1);
    putInt(b, 20, 0x00000000);
    putInt(b, 24, static_cast<std::int32_t>(0xFFFFFFFFu));
    putInt(b, 52, 0);
    putInt(b, 56, 255);
    putInt(b, 84, 2);
    putDouble(b, 88, 100.0);
    putDouble(b, 96, 1.0);
    putDouble(b, 96 + 4 * 8, 1.0);
    putDouble(b, 96 + 8 * 8, 1.0);
    double w = 1.0;
    for (int i = 0; i < 12; ++i, w /= 2) {
        putDouble(b, 168 + 8 * i, w);
    }
    putDouble(b, 264, 10.0);
    putInt(b, 276, 10);
    putInt(b, 284, 10);
    putInt(b, 292, 10);
    return b;
}

} // namespace

TEST(FilterParameters, DefaultBlockMatchesTheStoredLayoutByteForByte) {
    std::vector<std::uint8_t> raw(832, 0);
    auto* block = reinterpret_cast<FilterParameters*>(raw.data());
    writeDefaultParameters(*block);
    EXPECT_EQ(raw, expectedDefaultBlock());
    EXPECT_DOUBLE_EQ(block->texture.noiseWeights[11], 0.00048828125);
}

TEST(FilterParameters, DefaultsLeavePaddingAndPathTailAlone) {
    std::vector<std::uint8_t> raw(832, 0xAB);
    auto* block = reinterpret_cast<FilterParameters*>(raw.data());
    writeDefaultParameters(*block);
    EXPECT_EQ(raw[4], 0xAB);   // padding after type
    EXPECT_EQ(raw[296], 0);    // first path byte
    EXPECT_EQ(raw[297], 0xAB); // rest of the path
    EXPECT_EQ(raw[560], 0);    // preset file name
    EXPECT_EQ(raw[561], 0xAB);
    EXPECT_EQ(raw[824], 0);
    EXPECT_EQ(raw[825], 0);
    EXPECT_EQ(raw[826], 0);
    EXPECT_EQ(raw[827], 0xAB); // trailing padding
}

TEST(FilterParameters, PresetRoundTripThroughTheBlockKeepsEveryFieldButTheName) {
    TexturePreset preset;
    preset.name = "Gold";
    preset.type = kMarble;
    preset.noiseSeed = 4242;
    preset.colours[5] = 0x80123456u;
    preset.transformation.at(0, 2) = 0.25;
    copyToField(preset.texturePath, kPathSize, "/tmp/x.png");
    std::vector<std::uint8_t> raw(832, 0xCD);
    auto* block = reinterpret_cast<FilterParameters*>(raw.data());
    storePresetInBlock(*block, preset);
    const TexturePreset back = presetFromBlock(*block);
    EXPECT_TRUE(back.name.empty());
    EXPECT_EQ(back.type, kMarble);
    EXPECT_EQ(back.noiseSeed, 4242);
    EXPECT_EQ(back.colours[5], 0x80123456u);
    EXPECT_EQ(back.transformation.at(0, 2), 0.25);
    EXPECT_EQ(readField(back.texturePath, kPathSize), "/tmp/x.png");
}

TEST(FixedFields, CopyCutsAndTerminatesAndReadNeverRunsPastTheEnd) {
    char field[8];
    copyToField(field, sizeof field, "abcdefghijk");
    EXPECT_STREQ(field, "abcdefg");
    std::memset(field, 'z', sizeof field);
    EXPECT_EQ(readField(field, sizeof field), "zzzzzzzz");
    copyToField(field, sizeof field, "");
    EXPECT_EQ(readField(field, sizeof field), "");
}

TEST(MsRandom, SeedOneGivesTheKnownSequence) {
    msSrand(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724};
    for (const int e : expected) {
        EXPECT_EQ(msRand(), e);
    }
}

TEST(MsRandom, StateIsPerThreadAndReseedingRepeats) {
    msSrand(12345);
    const int a = msRand();
    const int b = msRand();
    msSrand(12345);
    EXPECT_EQ(msRand(), a);
    EXPECT_EQ(msRand(), b);
    for (int i = 0; i < 1000; ++i) {
        const int v = msRand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, kMsRandMax);
    }
}
