// TexturePreset: the complete description of one texture, and TextureFields, its
// binary form, which is also the head of the 832-byte parameter block.
#pragma once

#include "texture/TextureTransform.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace morvessan {

enum TextureType : std::int32_t {
    kCloud = 1,
    kFire = 2,
    kMarble = 3,
    kWood = 4,
};

inline constexpr int kMaxColourStops = 8;
inline constexpr int kMaxOctaves = 12;
inline constexpr std::size_t kPathSize = 260; // MAX_PATH, terminating zero included

// The fields of a texture exactly as the parameter block stores them. Flags are
// bytes, not bool: a block handed back by a host is used unchecked, and any byte
// value other than 0 means "on".
struct TextureFields {
    std::int32_t type = kCloud;
    double noiseLevel = 8.0;
    std::int32_t noiseSeed = 1;
    std::uint32_t colours[kMaxColourStops] = {0x00000000u, 0xFFFFFFFFu};
    std::int32_t positions[kMaxColourStops] = {0, 255};
    std::int32_t colourCount = 2;
    double totalOpacity = 100.0;
    TextureTransform transformation;
    double noiseWeights[kMaxOctaves] = {1.0,      0.5,       0.25,       0.125,       0.0625,       0.03125,
                                        0.015625, 0.0078125, 0.00390625, 0.001953125, 0.0009765625, 0.00048828125};
    double noiseParameter = 10.0;
    std::uint8_t blurEnabled = 0;
    std::int32_t blur = 10;
    std::uint8_t noiseEnabled = 0;
    std::int32_t noise = 10;
    std::uint8_t textureEnabled = 0;
    std::uint8_t reserved = 0;
    std::int32_t textureAmount = 10;
    char texturePath[kPathSize] = {};
};

static_assert(offsetof(TextureFields, type) == 0);
static_assert(offsetof(TextureFields, noiseLevel) == 8);
static_assert(offsetof(TextureFields, noiseSeed) == 16);
static_assert(offsetof(TextureFields, colours) == 20);
static_assert(offsetof(TextureFields, positions) == 52);
static_assert(offsetof(TextureFields, colourCount) == 84);
static_assert(offsetof(TextureFields, totalOpacity) == 88);
static_assert(offsetof(TextureFields, transformation) == 96);
static_assert(offsetof(TextureFields, noiseWeights) == 168);
static_assert(offsetof(TextureFields, noiseParameter) == 264);
static_assert(offsetof(TextureFields, blurEnabled) == 272);
static_assert(offsetof(TextureFields, blur) == 276);
static_assert(offsetof(TextureFields, noiseEnabled) == 280);
static_assert(offsetof(TextureFields, noise) == 284);
static_assert(offsetof(TextureFields, textureEnabled) == 288);
static_assert(offsetof(TextureFields, reserved) == 289);
static_assert(offsetof(TextureFields, textureAmount) == 292);
static_assert(offsetof(TextureFields, texturePath) == 296);
static_assert(offsetof(TextureFields, texturePath) + kPathSize == 556);
static_assert(sizeof(TextureFields) == 560);

// A texture as the preset lists hold it: the fields plus a display name.
struct TexturePreset : TextureFields {
    std::string name;

    TextureFields& fields() { return *this; }
    const TextureFields& fields() const { return *this; }
};

// Copies a C string into a fixed char field, cut to size - 1 characters and always terminated.
void copyToField(char* field, std::size_t size, const std::string& text);

// Reads a fixed char field up to its first zero, never past its end.
std::string readField(const char* field, std::size_t size);

} // namespace morvessan
