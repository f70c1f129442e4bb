// The texture's fields as a user names and types them: one table of names,
// kinds, ranges, steps and defaults, and the reading and writing of each value
// as text.
#pragma once

#include "texture/TexturePreset.h"

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
    double low;
    double high;
    double step; // 0: any value in the range
    std::string_view meaning;
};

// Every field in the record's order.
std::span<const TextureField> textureFields();

// The field called `name`, ignoring case (so the preset format's "NoiseSeed"
// works too); null when none.
const TextureField* findTextureField(std::string_view name);

// The range as a user types it: "0..32767", "cloud|fire|marble|wood", "on|off".
std::string textureFieldRange(const TextureField& field);

// Reads `text` into the field; on failure returns a message naming the field
// and its range and leaves `fields` as it was. Returns "" on success.
std::string setTextureField(TextureFields& fields, const TextureField& field, std::string_view text);

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
