// Reading and writing preset text: tokenizer, category and preset blocks, and
// the line-by-line writer with our own number formatting.
#include "presets/PresetText.h"

#include "VXLib/VXUTIL/VXNumberText.h"
#include "VXLib/VXUTIL/VXPath.h"
#include "texture/TextureFieldTable.h"
#include "texture/UsableFields.h"

#include <algorithm>

namespace morvessan {

namespace {

const auto& kTypeWords = kTextureTypeWords;

bool isSeparator(char c) { return c == ' ' || c == ','; }
bool isQuote(char c) { return c == '\'' || c == '"'; }

void setDefaultWeights(TextureFields& fields) {
    double weight = 1.0;
    for (double& w : fields.noiseWeights) {
        w = weight;
        weight *= 0.5;
    }
}

// Reads an optional effect line ("Blur:" or "Noise:"): a non-zero amount
// enables the effect, anything else leaves it off with amount 10.
void readEffect(std::uint8_t& enabled, std::int32_t& amount, bool present, const std::string& value) {
    const std::int32_t v = present ? readInt(value) : 0;
    enabled = v != 0 ? 1 : 0;
    amount = v != 0 ? v : 10;
}

std::string numberList(const double* values, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += i == 0 ? " " : ", ";
        out += formatG(values[i]);
    }
    return out;
}

// The texture file name written for a stored path.
std::string textureName(const TextureFields& fields, const std::string& texturesFolder) {
    const std::string path = readField(fields.texturePath, kPathSize);
    if (path.size() < texturesFolder.size() ||
        !equalsIgnoreCase(path.substr(0, texturesFolder.size()), texturesFolder)) {
        return {};
    }
    std::string name = path.substr(texturesFolder.size());
    // A name that cannot be written so that its line reads back is dropped, so
    // at worst the texture reads back off, never the rest of the file lost.
    return isWritableName(name) && isTextureFileName(name) ? name : std::string();
}

} // namespace

std::vector<std::string> splitPresetLine(std::string_view line, bool* cut) {
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < line.size() && static_cast<int>(tokens.size()) < kMaxLineTokens) {
        const char c = line[i];
        if (isSeparator(c)) {
            ++i;
        } else if (isQuote(c)) {
            const std::size_t close = line.find(c, i + 1);
            if (close == std::string_view::npos) {
                tokens.emplace_back(line.substr(i + 1));
                i = line.size();
            } else {
                tokens.emplace_back(line.substr(i + 1, close - i - 1));
                i = close + 1;
            }
        } else {
            std::size_t end = i;
            while (end < line.size() && !isSeparator(line[end]) && !isQuote(line[end])) {
                ++end;
            }
            tokens.emplace_back(line.substr(i, end - i));
            i = end;
        }
    }
    if (cut != nullptr) {
        *cut = line.find_first_not_of(" ,", i) != std::string_view::npos;
    }
    return tokens;
}

PresetTextReader::PresetTextReader(std::string_view text, std::string texturesFolder)
    : m_text(text), m_textures_folder(std::move(texturesFolder)) {
    // Many editors start UTF-8 text with a byte-order mark; it is no part of the first line.
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF") {
        m_offset = 3;
    }
}

int PresetTextReader::readTokens() {
    if (m_push_back) {
        m_push_back = false;
        m_tokens = splitPresetLine(m_current_line);
        return static_cast<int>(m_tokens.size());
    }
    m_tokens.clear();
    while (m_tokens.empty() && m_offset < m_text.size()) {
        std::size_t end = m_text.find('\n', m_offset);
        std::size_t next = end + 1;
        if (end == std::string_view::npos) {
            end = m_text.size();
            next = end;
        }
        std::size_t length = end - m_offset;
        if (length > 0 && end < m_text.size() && m_text[end - 1] == '\r') {
            --length;
        }
        m_current_line.assign(m_text.substr(m_offset, length));
        m_offset = next;
        m_line_number = ++m_lines;
        // A line of nothing but blanks, tabs and commas holds nothing to read.
        if (m_current_line.find_first_not_of(" \t,\r\f\v") != std::string::npos) {
            bool cut = false;
            m_tokens = splitPresetLine(m_current_line, &cut);
            if (cut) {
                noteStop("at most 20 words or values on a line (the rest would be lost)");
            }
        }
    }
    if (m_tokens.empty()) {
        m_current_line.clear();
        m_line_number = m_lines + 1;
    }
    return static_cast<int>(m_tokens.size());
}

std::string PresetReadStop::describe() const {
    if (whole()) {
        return {};
    }
    if (wholeText) {
        return "line 1: " + reason;
    }
    std::string shown;
    for (const char c : found) {
        if (shown.size() >= 60) {
            shown += "...";
            break;
        }
        shown += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c;
    }
    return "line " + formatInt(static_cast<std::int32_t>(std::min<std::size_t>(line, 0x7FFFFFFF))) + ": " + reason +
           (atEnd ? ", found the end of the file" : ", found \"" + shown + "\"");
}

void PresetTextReader::noteStop(const std::string& reason) {
    if (m_stop.whole()) {
        m_stop.line = m_line_number;
        m_stop.atEnd = m_tokens.empty() && m_current_line.empty();
        m_stop.reason = "expected " + reason;
        m_stop.found = m_current_line;
    }
}

bool PresetTextReader::expect(bool ok, const std::string& name, const char* what) {
    if (!ok) {
        noteStop(std::string(what) + " in preset '" + name + "'");
    }
    return ok;
}

std::string PresetTextReader::joinedTokens(std::size_t first) const {
    std::string joined;
    for (std::size_t i = first; i < m_tokens.size(); ++i) {
        if (i > first) {
            joined += ' ';
        }
        joined += m_tokens[i];
    }
    return joined;
}

std::vector<PresetCategory> PresetTextReader::readAll() {
    m_push_back = false;
    // Editors that save "Unicode" write UTF-16: every other byte is zero, and no
    // line of it reads. Said as such rather than shown as the bytes it is.
    if (m_text.substr(0, 2) == "\xFF\xFE" || m_text.substr(0, 2) == "\xFE\xFF") {
        m_stop.line = 1;
        m_stop.wholeText = true;
        m_stop.reason = "it is UTF-16 text; preset files are 8-bit text (save it as ANSI or UTF-8)";
        return {};
    }
    std::vector<PresetCategory> categories;
    PresetCategory category;
    std::size_t presets = 0;
    while (readCategory(category)) {
        presets += category.presets.size();
        categories.push_back(std::move(category));
        category = PresetCategory();
    }
    // Blank lines are skipped, so anything left is text that was not read.
    if (!m_tokens.empty()) {
        noteStop("a \"Category\" heading or a \"Preset\" block");
    }
    checkEnd(presets);
    return categories;
}

// A file cut short (an interrupted copy or download) must not read as whole: its
// last line has no line end, or its last preset lacks lines the one before has.
void PresetTextReader::checkEnd(std::size_t presets) {
    if (!m_stop.whole()) {
        return;
    }
    const std::size_t lastEnd = m_text.rfind('\n');
    const std::size_t bom = m_text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    const std::size_t tailStart = lastEnd == std::string_view::npos ? bom : lastEnd + 1;
    const std::string_view tail = m_text.substr(std::min(tailStart, m_text.size()));
    if (tail.find_first_not_of(" \t,\r\f\v") != std::string_view::npos) {
        m_stop.line = m_lines;
        m_stop.reason = "expected a line end after the last line (the file seems cut short)";
        m_stop.found = std::string(tail);
        return;
    }
    // A preset ends after its last line, or where the one before it ended; a lone
    // preset of the seven mandatory lines is taken as written so.
    const bool complete = m_last_reach == 12 || (presets >= 2 ? m_last_reach >= m_previous_reach : m_last_reach == 7);
    if (presets >= 1 && !m_heading_last && !complete) {
        m_stop.line = m_lines + 1;
        m_stop.atEnd = true;
        m_stop.reason = "expected line " + formatInt(m_last_reach + 1) + " of preset '" + m_last_name +
                        "' (the file seems cut short)";
    }
}

bool PresetTextReader::readCategory(PresetCategory& category) {
    const int n = readTokens();
    const bool heading = n >= 1 && (m_tokens[0] == "Category" || m_tokens[0] == "Catagory");
    const bool implicit = !heading && n >= 2 && m_tokens[0] == "Preset";
    if (!heading && !implicit) {
        return false;
    }
    if (heading) {
        category.name = joinedTokens(1);
        m_heading_last = true;
    } else {
        m_push_back = true;
        category.name = "Basic";
    }
    TexturePreset preset;
    while (readPreset(preset)) {
        category.presets.push_back(preset);
        preset = TexturePreset();
    }
    // After a heading the line that ended the run starts the next category; in
    // the implicit category it is consumed.
    m_push_back = heading;
    return true;
}

bool PresetTextReader::readPreset(TexturePreset& preset) {
    // Mandatory lines 1 to 7.
    int n = readTokens();
    if (n < 1 || m_tokens[0] != "Preset") {
        return false;
    }
    preset.name = joinedTokens(1);
    const std::string& name = preset.name;

    n = readTokens();
    const auto* word =
        n >= 2 ? std::find(std::begin(kTypeWords), std::end(kTypeWords), m_tokens[1]) : std::end(kTypeWords);
    if (!expect(n >= 2 && m_tokens[0] == "Type:" && word != std::end(kTypeWords), name,
                "\"Type:\" and Cloud, Fire, Marble or Wood")) {
        return false;
    }
    preset.type = static_cast<std::int32_t>(word - std::begin(kTypeWords)) + 1;

    n = readTokens();
    if (!expect(n >= 2 && m_tokens[0] == "NoiseLevel:", name, "\"NoiseLevel:\" and a number")) {
        return false;
    }
    const double level = readDouble(m_tokens[1]);
    preset.noiseLevel = level > 12.0 ? 12.0 : level;
    preset.noiseParameter = level;

    n = readTokens();
    if (!expect(n >= 2 && m_tokens[0] == "NoiseSeed:", name, "\"NoiseSeed:\" and a whole number")) {
        return false;
    }
    preset.noiseSeed = readInt(m_tokens[1]);

    n = readTokens();
    if (!expect(n >= 3 && n % 2 == 1 && m_tokens[0] == "Colours:", name,
                "\"Colours:\" and one to eight pairs of colour and position")) {
        return false;
    }
    if ((n - 1) / 2 > kMaxColourStops) {
        noteStop("at most eight colour stops in preset '" + name + "' (the rest would be lost)");
    }
    const int stops = std::min((n - 1) / 2, kMaxColourStops);
    for (int i = 0; i < stops; ++i) {
        preset.colours[i] = readHex(m_tokens[static_cast<std::size_t>(1 + 2 * i)]);
        preset.positions[i] = readInt(m_tokens[static_cast<std::size_t>(2 + 2 * i)]);
    }
    preset.colourCount = stops;

    n = readTokens();
    if (!expect(n >= 2 && m_tokens[0] == "TotalOpacity:", name, "\"TotalOpacity:\" and a number")) {
        return false;
    }
    preset.totalOpacity = readDouble(m_tokens[1]);

    n = readTokens();
    if (!expect(n == 10 && m_tokens[0] == "Transformation:", name, "\"Transformation:\" and nine numbers")) {
        return false;
    }
    for (std::size_t i = 0; i < 9; ++i) {
        preset.transformation.m[i] = readDouble(m_tokens[i + 1]);
    }

    // Optional lines 8 to 12: a line that is not the expected one is examined
    // again as the next expected line.
    int reach = 7; // the last of the optional lines present
    n = readTokens();
    if (n >= 13 && m_tokens[0] == "NoiseWeights:") {
        reach = 8;
        for (std::size_t i = 0; i < kMaxOctaves; ++i) {
            preset.noiseWeights[i] = readDouble(m_tokens[i + 1]);
        }
    } else {
        m_push_back = true;
        setDefaultWeights(preset);
    }

    n = readTokens();
    if (n == 2 && m_tokens[0] == "NoiseParameter:") {
        reach = 9;
        preset.noiseParameter = readDouble(m_tokens[1]);
    } else {
        m_push_back = true;
    }

    n = readTokens();
    const bool blur = n == 2 && m_tokens[0] == "Blur:";
    readEffect(preset.blurEnabled, preset.blur, blur, blur ? m_tokens[1] : std::string());
    m_push_back = !blur;

    n = readTokens();
    const bool texture = n == 3 && m_tokens[0] == "Texture:";
    const std::int32_t amount = texture ? readInt(m_tokens[1]) : 0;
    // A name that would leave the textures folder names no texture of it.
    if (amount != 0 && !m_tokens[2].empty() && isTextureFileName(m_tokens[2])) {
        preset.textureEnabled = 1;
        preset.textureAmount = amount;
        copyToField(preset.texturePath, kPathSize, m_textures_folder + m_tokens[2]);
    } else {
        preset.textureEnabled = 0;
        preset.textureAmount = 10;
        preset.texturePath[0] = '\0';
    }
    preset.reserved = 0;
    m_push_back = !texture;

    n = readTokens();
    const bool noise = n == 2 && m_tokens[0] == "Noise:";
    readEffect(preset.noiseEnabled, preset.noise, noise, noise ? m_tokens[1] : std::string());
    m_push_back = !noise;

    m_previous_reach = m_last_reach;
    m_last_reach = noise ? 12 : texture ? 11 : blur ? 10 : reach;
    m_last_name = name;
    m_heading_last = false;
    return true;
}

std::vector<PresetCategory> readPresetText(std::string_view text, const std::string& texturesFolder,
                                           PresetReadStop* stop) {
    PresetTextReader reader(text, texturesFolder);
    std::vector<PresetCategory> categories = reader.readAll();
    if (stop != nullptr) {
        *stop = reader.stop();
    }
    return categories;
}

bool isTextureFileName(const std::string& name) {
    return name.find_first_of("/\\:") == std::string::npos && name != "." && name != "..";
}

bool isWritableName(const std::string& name) {
    const bool single = name.find('\'') != std::string::npos;
    const bool dbl = name.find('"') != std::string::npos;
    return !(single && dbl) && name.find_first_of("\r\n") == std::string::npos;
}

std::string quotePresetName(const std::string& name) {
    std::string text = name;
    std::replace(text.begin(), text.end(), '\n', ' ');
    const bool single = text.find('\'') != std::string::npos;
    const bool dbl = text.find('"') != std::string::npos;
    if (single && dbl) {
        // No quote can hold both: the double quotes become single ones, so that the
        // name stays one token and the line reads back whole.
        std::replace(text.begin(), text.end(), '"', '\'');
    }
    const char quote = single ? '"' : '\'';
    return quote + text + quote;
}

std::string writePresetBlock(const TexturePreset& p, const std::string& texturesFolder) {
    const std::string eol = "\r\n";
    std::string out;
    out += "Preset " + quotePresetName(p.name) + eol;
    const int type = usableType(p.type);
    out += "Type: " + std::string(kTypeWords[type - 1]) + eol;
    out += "NoiseLevel: " + formatG(p.noiseLevel) + eol;
    out += "NoiseSeed: " + formatInt(p.noiseSeed) + eol;
    // A count outside 1..8 (only a damaged parameter block holds one) is written
    // as the stops that exist, so the line always reads back.
    const int stops = usableColourCount(p.colourCount);
    out += "Colours:";
    for (int i = 0; i < stops; ++i) {
        out += i == 0 ? " " : ", ";
        out += formatHex8(p.colours[i]) + ", " + formatInt(p.positions[i]);
    }
    out += eol;
    out += "TotalOpacity: " + formatG(p.totalOpacity) + eol;
    out += "Transformation:" + numberList(p.transformation.m, 9) + eol;
    out += "NoiseWeights:" + numberList(p.noiseWeights, kMaxOctaves) + eol;
    out += "NoiseParameter: " + formatG(p.noiseParameter) + eol;
    out += "Blur: " + formatInt(p.blurEnabled ? p.blur : 0) + eol;
    // An enabled texture whose name cannot be written (outside the textures
    // folder) reads back off; it is written as off, so a second save is the same.
    const std::string texture = textureName(p, texturesFolder);
    out += "Texture: " + formatInt(p.textureEnabled && !texture.empty() ? p.textureAmount : 0) + " " +
           quotePresetName(texture) + eol;
    out += "Noise: " + formatInt(p.noiseEnabled ? p.noise : 0) + eol;
    return out;
}

std::string writePresetText(const std::vector<PresetCategory>& categories, const std::string& texturesFolder) {
    std::string out;
    for (const PresetCategory& category : categories) {
        out += "Category " + quotePresetName(category.name) + "\r\n";
        for (const TexturePreset& preset : category.presets) {
            out += writePresetBlock(preset, texturesFolder);
        }
    }
    return out;
}

} // namespace morvessan
