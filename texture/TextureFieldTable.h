// The texture's fields as a user names and types them: one table of names,
// kinds, ranges, steps and defaults, and the reading and writing of each value
// as text.
#pragma once

#include "texture/TexturePreset.h"

#include <array>
#include <limits>
#include <span>
#include <string>
#include <string_view>

namespace morvessan {

enum class TextureFieldKind {
    Choice,  // one word of a list (the texture type)
    Integer, // a whole number in [low, high]
    Decimal, // a number in [low, high], rounded to a multiple of step
    Flag,    // on or off
    Weights, // up to twelve numbers in [low, high], "W1,W2,..."; later octaves
             // keep theirs
    Colours, // 1 to 8 stops "#RRGGBB[AA]@POS,...", positions rising, 0..255
    Matrix,  // nine finite numbers, row by row
    Path,    // a file path of at most 259 bytes
};

struct TextureField {
    std::string_view name; // as the record and "params show" spell it: "noiseSeed"
    TextureFieldKind kind;
    double low; // what an editor, the command line and a preset may set
    double high;
    double step; // 0: any value in the range
    // What the engine limits a stored value to, however a block or file left it
    // (wider than the editors' where old blocks hold more); kAnyStored where it
    // takes the value as stored.
    double storedLow;
    double storedHigh;
    std::string_view meaning;
    // Where a number or a flag lives in the record (one of the three; the type is
    // a whole number too), so that it is read, written and given its default (the
    // record's own, TextureFields{}) by this one declaration. The compound kinds
    // (stops, matrix, weights, path) have none: their text has rules of its own.
    std::int32_t TextureFields::*whole = nullptr;
    double TextureFields::*decimal = nullptr;
    std::uint8_t TextureFields::*flag = nullptr;
};

// The fields, in the record's order.
enum class TextureFieldId : std::size_t {
    Type,
    NoiseLevel,
    NoiseSeed,
    Colours,
    TotalOpacity,
    Transformation,
    NoiseWeights,
    NoiseParameter,
    BlurEnabled,
    Blur,
    NoiseEnabled,
    Noise,
    TextureEnabled,
    TextureAmount,
    TexturePath,
    Count,
};

// The four texture types as they are written and shown, Cloud first.
inline constexpr std::array<std::string_view, 4> kTextureTypeWords{"Cloud", "Fire", "Marble", "Wood"};

// The lightest octave weight the spectrum editor shows (2^-11).
inline constexpr double kLightestNoiseWeight = 0.00048828125;

inline constexpr double kAnyStored = std::numeric_limits<double>::max();

// The seeds a random draw gives, in the dialog and on the command line alike:
// never 0, which draws a new pattern on every render and so could not be made again.
inline constexpr std::int32_t kRandomSeedLow = 1;
inline constexpr std::int32_t kRandomSeedHigh = 9999;

// The one declaration of every field: each layer takes its limits from here.
inline constexpr std::array<TextureField, static_cast<std::size_t>(TextureFieldId::Count)> kTextureFields{{
    {"type", TextureFieldKind::Choice, 1, 4, 1, 1, 4, "texture type", &TextureFields::type},
    {"noiseLevel", TextureFieldKind::Integer, 1, kMaxOctaves, 1, 0, kMaxOctaves, "noise octaves (turbulence bands)",
     nullptr, &TextureFields::noiseLevel},
    {"noiseSeed", TextureFieldKind::Integer, 0, 32767, 1, -kAnyStored, kAnyStored, "seed of the noise",
     &TextureFields::noiseSeed},
    {"colours", TextureFieldKind::Colours, 0, 255, 1, 0, 255, "gradient stops, #RRGGBB[AA]@POS,... (1 to 8)"},
    {"totalOpacity", TextureFieldKind::Integer, 0, 100, 1, -kAnyStored, kAnyStored, "opacity of the texture in percent",
     nullptr, &TextureFields::totalOpacity},
    {"transformation", TextureFieldKind::Matrix, 0, 0, 0, -kAnyStored, kAnyStored,
     "3x3 matrix, nine numbers row by row"},
    {"noiseWeights", TextureFieldKind::Weights, kLightestNoiseWeight, 1, 0, -kAnyStored, kAnyStored,
     "weight of each octave, W1,W2,..."},
    {"noiseParameter", TextureFieldKind::Decimal, 1, 50, 0.1, -kAnyStored, kAnyStored, "grain of Wood", nullptr,
     &TextureFields::noiseParameter},
    {"blurEnabled", TextureFieldKind::Flag, 0, 1, 1, -kAnyStored, kAnyStored, "apply blur", nullptr, nullptr,
     &TextureFields::blurEnabled},
    {"blur", TextureFieldKind::Integer, 1, 100, 1, 0, 100, "blur amount", &TextureFields::blur},
    {"noiseEnabled", TextureFieldKind::Flag, 0, 1, 1, -kAnyStored, kAnyStored, "apply noise", nullptr, nullptr,
     &TextureFields::noiseEnabled},
    {"noise", TextureFieldKind::Integer, 1, 100, 1, -kAnyStored, kAnyStored, "amount of added noise",
     &TextureFields::noise},
    {"textureEnabled", TextureFieldKind::Flag, 0, 1, 1, -kAnyStored, kAnyStored, "apply the texture picture", nullptr,
     nullptr, &TextureFields::textureEnabled},
    {"textureAmount", TextureFieldKind::Integer, 1, 100, 1, -kAnyStored, kAnyStored, "strength of the texture picture",
     &TextureFields::textureAmount},
    {"texturePath", TextureFieldKind::Path, 0, kPathSize - 1, 0, 0, kPathSize - 1, "path of the texture picture"},
}};

constexpr const TextureField& textureField(TextureFieldId id) { return kTextureFields[static_cast<std::size_t>(id)]; }

// Every field in the record's order.
std::span<const TextureField> textureFields();

// "#RRGGBB" or "#RRGGBBAA" as 0xAABBGGRR (no alpha: opaque); false when not such a colour.
bool parseHexColour(std::string_view text, std::uint32_t& colour);

// The field called `name`, ignoring case (so the preset format's "NoiseSeed"
// works too); null when none.
const TextureField* findTextureField(std::string_view name);

// The kind as one word, for programs that read the table: "choice", "integer",
// "decimal", "flag", "weights", "colours", "matrix" or "path".
std::string_view textureFieldKindWord(TextureFieldKind kind);

// The field's name as Python code spells a keyword: "noiseSeed" is "noise_seed".
std::string textureFieldKeyword(const TextureField& field);

// The field whose keyword ("noise_seed") or name ("noiseSeed", any letter case) is
// `name`; null when none.
const TextureField* findTextureFieldByKeyword(std::string_view name);

// The range as a user types it: "0..32767", "cloud|fire|marble|wood", "on|off".
std::string textureFieldRange(const TextureField& field);

// Reads `text` into the field; on failure returns a message naming the field
// and its range and leaves `fields` as it was. Returns "" on success.
std::string setTextureField(TextureFields& fields, const TextureField& field, std::string_view text);

// Writes every field's default (the record's own, TextureFields{}) over `fields`, leaving
// padding and the texture path beyond its first byte as they were, as a host's
// fresh block is initialised.
void writeDefaultFields(TextureFields& fields);

// The field's value in the form setTextureField reads back exactly.
std::string textureFieldText(const TextureFields& fields, const TextureField& field);

// The field's value as a JSON value (string, number, boolean or array).
std::string textureFieldJson(const TextureFields& fields, const TextureField& field);

// A double in the shortest form that reads back to the same bits; no locale.
std::string formatShortest(double value);

// A plain decimal number ("-1.5", "2e3"), the whole text, finite; no locale.
bool parseDecimal(std::string_view text, double& value);

// `text` as a JSON string literal, quotes included.
std::string jsonString(std::string_view text);

} // namespace morvessan
