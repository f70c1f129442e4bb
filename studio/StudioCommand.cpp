// Writing the studio's texture as a command and a call: each field the defaults do
// not already hold, in the form the field table reads back to the same bits.
#include "studio/StudioCommand.h"

#include "job/TextureJob.h"
#include "texture/TextureFieldTable.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <vector>

namespace morvessan::studio {

namespace {

// The fields the texture's block holds that the defaults do not, by name, in the
// record's order; the type at least, so that neither front end starts from a showcase.
std::vector<std::pair<const TextureField*, std::string>> changedFields(const StudioTexture& texture,
                                                                       const std::string& texturesDir) {
    StudioTexture without = texture;
    without.steps.clear();
    const std::vector<std::uint8_t> bytes = studioBlock(without, texturesDir);
    const auto& fields = reinterpret_cast<const FilterParameters*>(bytes.data())->texture;
    // What render and Python's render start from when fields are given.
    const TextureFields defaults = job::visibleDefaultFields();
    std::vector<std::pair<const TextureField*, std::string>> changed;
    for (const TextureField& field : textureFields()) {
        std::string text = textureFieldText(fields, field);
        if (text != textureFieldText(defaults, field)) {
            changed.emplace_back(&field, std::move(text));
        }
    }
    if (changed.empty()) {
        const TextureField& type = textureField(TextureFieldId::Type);
        changed.emplace_back(&type, textureFieldText(fields, type));
    }
    return changed;
}

std::string pythonString(const std::string& text) {
    // A JSON string is a Python string literal too, for every byte a field holds.
    return nlohmann::json(text).dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
}

std::string pythonValue(const TextureField& field, const std::string& text) {
    switch (field.kind) {
    case TextureFieldKind::Integer:
    case TextureFieldKind::Decimal: return text;
    case TextureFieldKind::Flag: return text == "on" ? "True" : "False";
    case TextureFieldKind::Weights:
    case TextureFieldKind::Matrix: {
        std::string list = "[";
        for (const char c : text) {
            list += c == ',' ? std::string(", ") : std::string(1, c);
        }
        return list + "]";
    }
    default: return pythonString(text);
    }
}

// A choice of the render beside the fields, as each front end spells it: the
// command line's option and Python's keyword, and the value (none for a flag).
struct RenderChoice {
    std::string option;
    std::string keyword;
    std::optional<std::string> value;
    bool number = false; // Python writes it bare rather than as a string
};

std::vector<RenderChoice> renderChoices(const StudioTexture& texture) {
    std::vector<RenderChoice> choices;
    if (texture.background != "white") {
        choices.push_back({"--background", "background", texture.background});
    }
    if (texture.normalMap) {
        choices.push_back({"--normal-map", "normal_map", std::nullopt});
    } else if (texture.heightMap) {
        choices.push_back({"--height-map", "height_map", std::nullopt});
    } else if (texture.depth == 16) {
        choices.push_back({"--depth", "depth", "16", true});
    }
    if (texture.tileable) {
        choices.push_back({"--tileable", "tileable", std::nullopt});
    }
    if (texture.patternSize > 0) {
        choices.push_back({"--pattern-size", "pattern_size", std::to_string(texture.patternSize), true});
    }
    return choices;
}

} // namespace

std::string shellWord(const std::string& text) {
#if defined(_WIN32)
    // cmd.exe and PowerShell: paths hold backslashes and drive colons; % names a variable.
    constexpr std::string_view kSafe = "_-+=.,:@/\\";
#else
    constexpr std::string_view kSafe = "_-+=.,:@/%";
#endif
    bool plain = !text.empty();
    for (const char c : text) {
        const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                          kSafe.find(c) != std::string_view::npos;
        plain = plain && safe;
    }
    if (plain) {
        return text;
    }
#if defined(_WIN32)
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    }
    return quoted + "\"";
#else
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
#endif
}

std::string renderCommandLine(const StudioTexture& texture, const std::string& texturesDir, const std::string& output) {
    std::string line = "morvessan render " + shellWord(output) + " --size " + std::to_string(texture.width) + "x" +
                       std::to_string(texture.height);
    for (const RenderChoice& choice : renderChoices(texture)) {
        line += " " + choice.option + (choice.value ? " " + shellWord(*choice.value) : std::string());
    }
    for (const auto& [field, text] : changedFields(texture, texturesDir)) {
        line += " --set " + shellWord(std::string(field->name) + "=" + text);
    }
    return line;
}

std::string renderPythonCall(const StudioTexture& texture, const std::string& texturesDir) {
    std::string call = "morvessan.render(" + std::to_string(texture.width) + ", " + std::to_string(texture.height);
    for (const RenderChoice& choice : renderChoices(texture)) {
        call += ", " + choice.keyword + "=" +
                (!choice.value   ? std::string("True")
                 : choice.number ? *choice.value
                                 : pythonString(*choice.value));
    }
    for (const auto& [field, text] : changedFields(texture, texturesDir)) {
        call += ", " + textureFieldKeyword(*field) + "=" + pythonValue(*field, text);
    }
    return call + ")";
}

} // namespace morvessan::studio
