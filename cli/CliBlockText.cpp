// The parameter block's fields by name for "params show", "params set" and --set:
// the texture's through the field table, the block's own here.
#include "cli/CliBlockText.h"

#include "VXLib/VXUTIL/VXAsciiCase.h"
#include "VXLib/VXUTIL/VXNumberText.h"
#include "cli/CliFields.h"
#include "cli/CliSupport.h"
#include "texture/TextureFieldTable.h"

namespace morvessan::cli {

namespace {

std::string onOff(std::uint8_t flag, bool json) { return json ? (flag ? "true" : "false") : (flag ? "on" : "off"); }

std::uint8_t parseFlag(const std::string& name, const std::string& text) {
    if (equalsIgnoreCase(text, "on") || equalsIgnoreCase(text, "true") || text == "1") {
        return 1;
    }
    if (equalsIgnoreCase(text, "off") || equalsIgnoreCase(text, "false") || text == "0") {
        return 0;
    }
    throw usageError(name + " '" + text + "' is not on or off");
}

} // namespace

const std::vector<std::string>& blockOwnFieldNames() {
    static const std::vector<std::string> names{"presetFile", "categoryIndex", "scaleBySource", "overwriteSource"};
    return names;
}

std::vector<std::string> everyFieldName() {
    std::vector<std::string> names;
    for (const TextureField& field : textureFields()) {
        names.emplace_back(field.name);
    }
    names.insert(names.end(), blockOwnFieldNames().begin(), blockOwnFieldNames().end());
    return names;
}

bool isBlockOwnField(const std::string& name) {
    for (const std::string& own : blockOwnFieldNames()) {
        if (equalsIgnoreCase(own, name)) {
            return true;
        }
    }
    return false;
}

std::vector<std::pair<std::string, std::string>> blockFieldTexts(const FilterParameters& b) {
    std::vector<std::pair<std::string, std::string>> fields;
    for (const TextureField& field : textureFields()) {
        fields.emplace_back(std::string(field.name), textureFieldText(b.texture, field));
    }
    fields.emplace_back("presetFile", readField(b.presetFile, kPathSize));
    fields.emplace_back("categoryIndex", formatInt(b.categoryIndex));
    fields.emplace_back("scaleBySource", onOff(b.scaleBySource, false));
    fields.emplace_back("overwriteSource", onOff(b.overwriteSource, false));
    return fields;
}

std::string blockJson(const FilterParameters& b) {
    std::string out = "{";
    for (const TextureField& field : textureFields()) {
        out += "\n  " + jsonString(field.name) + ": " + textureFieldJson(b.texture, field) + ",";
    }
    out += "\n  \"presetFile\": " + jsonString(readField(b.presetFile, kPathSize)) + ",";
    out += "\n  \"categoryIndex\": " + formatInt(b.categoryIndex) + ",";
    out += "\n  \"scaleBySource\": " + onOff(b.scaleBySource, true) + ",";
    out += "\n  \"overwriteSource\": " + onOff(b.overwriteSource, true) + ",";
    out += "\n  \"schema\": " + formatInt(kParamsSchema) + "\n}\n";
    return out;
}

void applyBlockAssignment(FilterParameters& block, const std::string& assignment) {
    const std::size_t eq = assignment.find('=');
    const std::string name = assignment.substr(0, eq);
    if (eq == std::string::npos || !isBlockOwnField(name)) {
        applyAssignment(block.texture, assignment);
        return;
    }
    const std::string value = assignment.substr(eq + 1);
    if (equalsIgnoreCase(name, "presetFile")) {
        if (value.size() > kPathSize - 1 || value.find('\0') != std::string::npos) {
            throw usageError("presetFile '" + value.substr(0, 40) + "' is longer than 259 bytes");
        }
        copyToField(block.presetFile, kPathSize, value);
    } else if (equalsIgnoreCase(name, "categoryIndex")) {
        block.categoryIndex = parseInteger(value, -2147483647 - 1, 2147483647, "categoryIndex");
    } else if (equalsIgnoreCase(name, "scaleBySource")) {
        block.scaleBySource = parseFlag("scaleBySource", value);
    } else {
        block.overwriteSource = parseFlag("overwriteSource", value);
    }
}

} // namespace morvessan::cli
