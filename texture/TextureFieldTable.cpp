// The texture field table and the text form of each field, shared by every
// place that lets a user type a field (command line, and later the dialog and
// presets).
#include "texture/TextureFieldTable.h"

#include "VXLib/VXUTIL/VXAsciiCase.h"
#include "VXLib/VXUTIL/VXNumberText.h"
#include "VXLib/VXUTIL/VXTextEncoding.h"

#include <array>
#include <charconv>
#include <cmath>
#include <vector>

namespace morvessan {

namespace {

using Kind = TextureFieldKind;

const auto& kFields = kTextureFields;
const auto& kTypeWords = kTextureTypeWords;

bool sameWord(std::string_view a, std::string_view b) { return equalsIgnoreCase(a, b); }

std::vector<std::string_view> splitCommas(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

std::string rangeText(const TextureField& field) {
    return formatShortest(field.low) + ".." + formatShortest(field.high);
}

std::string problem(const TextureField& field, std::string_view text, const std::string& why) {
    return std::string(field.name) + " '" + std::string(text) + "' " + why;
}

// Preset files hold six significant digits, so a value at a range's edge may come
// back from one just outside it (2^-11 as 0.000488281). Half a unit of the sixth
// digit past an edge is still taken, and kept as typed: the block then shows and
// reads back to the same bytes, and renders as the preset always did.
double sixDigitSlack(double edge) {
    const double magnitude = std::fabs(edge);
    if (magnitude == 0 || !std::isfinite(magnitude)) {
        return 0;
    }
    double unit = 1;
    while (unit > magnitude) {
        unit /= 10;
    }
    while (unit * 10 <= magnitude) {
        unit *= 10;
    }
    return unit * 5e-6;
}

bool inRange(const TextureField& field, double value, bool slack) {
    return slack ? value >= field.low - sixDigitSlack(field.low) && value <= field.high + sixDigitSlack(field.high)
                 : value >= field.low && value <= field.high;
}

// "inf", "-inf" and "nan": what a block read from a file may hold in its matrix,
// printed so that it reads back.
bool parseNonFinite(std::string_view text, double& value) {
    if (text == "inf" || text == "-inf") {
        value = text[0] == '-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
        return true;
    }
    if (text == "nan") {
        value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    return false;
}

// JSON keeps its own forms of them (formatShortest); text takes the words above.
std::string numberText(double value, bool json) {
    return json || std::isfinite(value) ? formatShortest(value) : value != value ? "nan" : (value > 0 ? "inf" : "-inf");
}

bool parseWhole(std::string_view text, double& value) {
    if (!parseDecimal(text, value)) {
        return false;
    }
    return value == std::floor(value) && text.find_first_of(".eE") == std::string_view::npos;
}

std::string colourText(std::uint32_t colour) {
    const char* const digits = "0123456789ABCDEF";
    std::string out = "#";
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t byte = colour >> (8 * i) & 0xFF;
        out += digits[byte >> 4];
        out += digits[byte & 15];
    }
    return out;
}

int stopCount(const TextureFields& t) {
    return t.colourCount < 0 ? 0 : (t.colourCount > kMaxColourStops ? kMaxColourStops : t.colourCount);
}

std::string setColours(TextureFields& t, const TextureField& field, std::string_view text) {
    const std::vector<std::string_view> parts = splitCommas(text);
    const std::string expected =
        "is not 1 to " + std::to_string(kMaxColourStops) + " stops #RRGGBB[AA]@POS, POS 0..255 and rising";
    if (parts.size() > static_cast<std::size_t>(kMaxColourStops)) {
        return problem(field, text, expected);
    }
    std::uint32_t colours[kMaxColourStops];
    std::int32_t positions[kMaxColourStops];
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t at = parts[i].find('@');
        double position = 0;
        if (at == std::string_view::npos || !parseHexColour(parts[i].substr(0, at), colours[i]) ||
            !parseWhole(parts[i].substr(at + 1), position) || position < 0 || position > 255 ||
            (i > 0 && position < positions[i - 1])) {
            return problem(field, text, expected);
        }
        positions[i] = static_cast<std::int32_t>(position);
    }
    t.colourCount = static_cast<std::int32_t>(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        t.colours[i] = colours[i];
        t.positions[i] = positions[i];
    }
    return {};
}

std::string setNumbers(double* target, std::size_t most, bool exact, const TextureField& field, std::string_view text) {
    const std::vector<std::string_view> parts = splitCommas(text);
    double values[kMaxOctaves > 9 ? kMaxOctaves : 9];
    const bool ranged = field.kind == Kind::Weights;
    const std::string expected =
        exact ? "is not " + std::to_string(most) + " numbers separated by commas"
              : "is not 1 to " + std::to_string(most) + " numbers in " + rangeText(field) + " separated by commas";
    if (parts.size() > most || (exact && parts.size() != most)) {
        return problem(field, text, expected);
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool number = parseDecimal(parts[i], values[i]) || (!ranged && parseNonFinite(parts[i], values[i]));
        if (!number || (ranged && !inRange(field, values[i], true))) {
            return problem(field, text, expected);
        }
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        target[i] = values[i];
    }
    return {};
}

std::string numberList(const double* values, std::size_t count, bool json) {
    std::string out = json ? "[" : "";
    for (std::size_t i = 0; i < count; ++i) {
        out += (i ? "," : "") + numberText(values[i], json);
    }
    return json ? out + "]" : out;
}

} // namespace

std::span<const TextureField> textureFields() { return kFields; }

bool parseHexColour(std::string_view text, std::uint32_t& colour) {
    if ((text.size() != 7 && text.size() != 9) || text[0] != '#') {
        return false;
    }
    std::uint32_t bytes[4] = {0, 0, 0, 255};
    for (std::size_t i = 0; 1 + 2 * i < text.size(); ++i) {
        const int high = hexDigitValue(text[1 + 2 * i]);
        const int low = hexDigitValue(text[2 + 2 * i]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes[i] = static_cast<std::uint32_t>(high * 16 + low);
    }
    colour = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24;
    return true;
}

std::string_view textureFieldKindWord(TextureFieldKind kind) {
    switch (kind) {
    case TextureFieldKind::Choice: return "choice";
    case TextureFieldKind::Integer: return "integer";
    case TextureFieldKind::Decimal: return "decimal";
    case TextureFieldKind::Flag: return "flag";
    case TextureFieldKind::Weights: return "weights";
    case TextureFieldKind::Colours: return "colours";
    case TextureFieldKind::Matrix: return "matrix";
    case TextureFieldKind::Path: return "path";
    }
    return "";
}

std::string textureFieldKeyword(const TextureField& field) {
    std::string keyword;
    for (const char c : field.name) {
        if (c >= 'A' && c <= 'Z') {
            keyword += '_';
            keyword += static_cast<char>(c - 'A' + 'a');
        } else {
            keyword += c;
        }
    }
    return keyword;
}

const TextureField* findTextureFieldByKeyword(std::string_view name) {
    for (const TextureField& field : kFields) {
        if (textureFieldKeyword(field) == name) {
            return &field;
        }
    }
    return findTextureField(name);
}

const TextureField* findTextureField(std::string_view name) {
    for (const TextureField& field : kFields) {
        if (sameWord(field.name, name)) {
            return &field;
        }
    }
    return nullptr;
}

std::string textureFieldRange(const TextureField& field) {
    switch (field.kind) {
    case Kind::Choice: {
        std::string words;
        for (const std::string_view word : kTypeWords) {
            words += (words.empty() ? "" : "|") + lowerAscii(std::string(word));
        }
        return words;
    }
    case Kind::Flag: return "on|off";
    case Kind::Colours: return "1 to " + std::to_string(kMaxColourStops) + " stops, POS 0..255";
    case Kind::Matrix: return "any numbers";
    case Kind::Path: return "at most " + std::to_string(kPathSize - 1) + " bytes";
    case Kind::Weights: return "1 to " + std::to_string(kMaxOctaves) + " of " + rangeText(field);
    case Kind::Decimal: return rangeText(field) + " step " + formatShortest(field.step);
    case Kind::Integer: break;
    }
    return rangeText(field);
}

std::string setTextureField(TextureFields& t, const TextureField& field, std::string_view text) {
    switch (field.kind) {
    case Kind::Choice:
        for (std::size_t i = 0; i < kTypeWords.size(); ++i) {
            if (sameWord(kTypeWords[i], text)) {
                t.*field.whole = static_cast<std::int32_t>(i + 1);
                return {};
            }
        }
        return problem(field, text, "is not one of " + textureFieldRange(field));
    case Kind::Colours: return setColours(t, field, text);
    case Kind::Matrix: return setNumbers(t.transformation.m, 9, true, field, text);
    case Kind::Weights: return setNumbers(t.noiseWeights, kMaxOctaves, false, field, text);
    case Kind::Path:
        if (text.size() > kPathSize - 1 || text.find('\0') != std::string_view::npos) {
            return problem(field, text.substr(0, 40), "is longer than " + std::to_string(kPathSize - 1) + " bytes");
        }
        copyToField(t.texturePath, kPathSize, std::string(text));
        return {};
    case Kind::Flag:
        if (sameWord(text, "on") || sameWord(text, "true") || text == "1") {
            t.*field.flag = 1;
        } else if (sameWord(text, "off") || sameWord(text, "false") || text == "0") {
            t.*field.flag = 0;
        } else {
            return problem(field, text, "is not on or off");
        }
        return {};
    case Kind::Integer:
    case Kind::Decimal: break;
    }
    double value = 0;
    const bool whole = field.kind == Kind::Integer;
    if (!(whole ? parseWhole(text, value) : parseDecimal(text, value))) {
        return problem(field, text, whole ? "is not a whole number" : "is not a number");
    }
    if (!inRange(field, value, !whole)) {
        return problem(field, text, "is outside " + rangeText(field));
    }
    if (field.step > 0 && !whole) {
        const double per = std::round(1 / field.step);
        value = std::round(value * per) / per;
    }
    if (field.whole != nullptr) {
        t.*field.whole = static_cast<std::int32_t>(value);
    } else {
        t.*field.decimal = value;
    }
    return {};
}

void writeDefaultFields(TextureFields& f) {
    const TextureFields defaults;
    for (const TextureField& field : kFields) {
        switch (field.kind) {
        case Kind::Colours:
            std::copy(std::begin(defaults.colours), std::end(defaults.colours), std::begin(f.colours));
            std::copy(std::begin(defaults.positions), std::end(defaults.positions), std::begin(f.positions));
            f.colourCount = defaults.colourCount;
            break;
        case Kind::Matrix: f.transformation = defaults.transformation; break;
        case Kind::Weights:
            std::copy(std::begin(defaults.noiseWeights), std::end(defaults.noiseWeights), std::begin(f.noiseWeights));
            break;
        // A fresh block's path is empty from its first byte; the rest stays as it was.
        case Kind::Path: f.texturePath[0] = '\0'; break;
        case Kind::Flag: f.*field.flag = defaults.*field.flag; break;
        default:
            if (field.whole != nullptr) {
                f.*field.whole = defaults.*field.whole;
            } else {
                f.*field.decimal = defaults.*field.decimal;
            }
        }
    }
    f.reserved = 0;
}

namespace {

std::string fieldValue(const TextureFields& t, const TextureField& field, bool json) {
    switch (field.kind) {
    case Kind::Choice: {
        // Any value but the four types is built and written as Cloud.
        const std::int32_t type = t.*field.whole;
        const std::string word(type >= kCloud && type <= kWood ? kTypeWords[type - 1] : kTypeWords[0]);
        return json ? jsonString(word) : word;
    }
    case Kind::Colours: {
        std::string out = json ? "[" : "";
        for (int i = 0; i < stopCount(t); ++i) {
            out += i ? "," : "";
            out += json ? "{\"colour\":\"" + colourText(t.colours[i]) + "\",\"position\":" + formatInt(t.positions[i]) +
                              "}"
                        : colourText(t.colours[i]) + "@" + formatInt(t.positions[i]);
        }
        return json ? out + "]" : out;
    }
    case Kind::Matrix: return numberList(t.transformation.m, 9, json);
    case Kind::Weights: return numberList(t.noiseWeights, kMaxOctaves, json);
    case Kind::Path: {
        const std::string path = readField(t.texturePath, kPathSize);
        return json ? jsonString(path) : path;
    }
    case Kind::Flag: {
        const bool on = t.*field.flag != 0;
        return json ? (on ? "true" : "false") : (on ? "on" : "off");
    }
    case Kind::Integer:
    case Kind::Decimal: break;
    }
    return field.whole != nullptr ? formatInt(t.*field.whole) : numberText(t.*field.decimal, json);
}

} // namespace

std::string textureFieldText(const TextureFields& fields, const TextureField& field) {
    return fieldValue(fields, field, false);
}

std::string textureFieldJson(const TextureFields& fields, const TextureField& field) {
    return fieldValue(fields, field, true);
}

std::string formatShortest(double value) {
    if (!std::isfinite(value)) {
        // JSON has no infinities; a block read from a file may hold them.
        return value != value ? "null" : (value > 0 ? "1e999" : "-1e999");
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

bool parseDecimal(std::string_view text, double& value) {
    // from_chars takes "inf", "nan" and hexadecimal-free forms; only plain
    // decimals are wanted.
    if (text.empty() || text.size() > 64) {
        return false;
    }
    const std::size_t start = text[0] == '-' ? 1 : 0;
    if (start == text.size() || (!(text[start] >= '0' && text[start] <= '9') && text[start] != '.')) {
        return false;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && std::isfinite(value);
}

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    // JSON is Unicode: 8-bit names become UTF-8; controls, C1 ones too, are escaped.
    const std::string utf8 = vxToUtf8(text);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const auto byte = static_cast<unsigned char>(c);
        const bool c1 = byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0;
        if (c1) {
            const auto code = static_cast<unsigned char>(utf8[++i]);
            out += "\\u00";
            out += "0123456789abcdef"[code >> 4];
            out += "0123456789abcdef"[code & 15];
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\u00";
            out += "0123456789abcdef"[byte >> 4];
            out += "0123456789abcdef"[byte & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace morvessan
