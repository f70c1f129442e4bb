// The texture options of render and apply: each one a field of the table, a
// shorthand for one, or a transformation step of the dialog's buttons.
#include "cli/CliFields.h"

#include "VXLib/VXImageFile.h"
#include "VXLib/VXPictureDecoder.h"
#include "VXLib/VXUTIL/VXWholeFile.h"
#include "job/JobFiles.h"
#include "job/JobPictureReader.h"
#include "renderer/TextureMapLoader.h"

#include "VXLib/VXUTIL/VXAsciiCase.h"
#include "VXLib/VXUTIL/VXNumberText.h"
#include "texture/PortableExp.h"
#include "cli/CliBlockText.h"
#include "cli/CliOptionTable.h"
#include "job/NameSuggestions.h"
#include "texture/TextureTransform.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <numbers>
#include <random>
#include <set>

namespace morvessan::cli {

namespace {

const TextureField& field(std::string_view name) { return *findTextureField(name); }

// The refusal of a value, with the nearest word when the field takes words.
std::string refusal(const TextureField& f, const std::string& value, const std::string& error) {
    if (f.kind != TextureFieldKind::Choice) {
        return error;
    }
    std::vector<std::string> words;
    for (const std::string_view word : kTextureTypeWords) {
        words.push_back(lowerAscii(std::string(word)));
    }
    return error + didYouMean(value, words);
}

void set(TextureFields& fields, std::string_view name, const std::string& value) {
    if (const std::string error = setTextureField(fields, field(name), value); !error.empty()) {
        throw usageError(refusal(field(name), value, error));
    }
}

// "--blur N": 0 or "off" switches the effect off, as a preset file's 0 does.
void setEffect(TextureFields& fields, std::string_view enabled, std::string_view amount, const std::string& value) {
    if (value == "0" || value == "off") {
        set(fields, enabled, "off");
        return;
    }
    set(fields, amount, value);
    set(fields, enabled, "on");
}

std::string pictureFile(const std::string& value, const FieldEditContext& context) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // A bare name is one of the textures folder, as the dialog's texture list
    // offers them.
    const bool bare = value.find_first_of("/\\") == std::string::npos;
    const std::string path = bare ? (fs::path(context.texturesDir) / value).string() : value;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::is_regular_file(status)) {
        // The cause as it is: a missing file, a folder, or a pipe or device that
        // reading would wait on.
        const std::string why = !fs::exists(status)        ? "no such file" + (bare ? " in " + context.texturesDir : "")
                                : fs::is_directory(status) ? std::string("it is a folder")
                                                           : std::string(
                                                                 "it is not a regular file (a pipe, a "
                                                                 "device or a socket)");
        throw usageError("--picture '" + value + "': " + why);
    }
    return bare ? path : fs::absolute(path, ec).string();
}

} // namespace

const std::vector<std::string>& fieldValuedOptions() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all{"--set"};
        for (const FieldShorthand& shorthand : kFieldShorthands) {
            all.emplace_back(shorthand.option);
        }
        all.insert(all.end(), {"--move", "--rotate", "--scale", "--zoom", "--per-frame-move", "--per-frame-rotate",
                               "--per-frame-zoom", "--per-frame-evolve"});
        return all;
    }();
    return names;
}

const std::vector<std::string>& fieldFlagOptions() {
    static const std::vector<std::string> names{"--reset-transform", "--per-frame-seed"};
    return names;
}

std::string fieldOptionsHelp() {
    std::string help = "\nTexture options, applied after the block and the preset, in the order given:\n" +
                       optionsHelp("texture") +
                       "\n"
                       "Fields (name: range, default):\n";
    const TextureFields defaults;
    for (const TextureField& f : textureFields()) {
        std::string line = "  " + std::string(f.name) + ": " + textureFieldRange(f);
        const std::string value = textureFieldText(defaults, f);
        line += ", default " + (value.empty() ? std::string("none") : value);
        help += line + "\n      " + std::string(f.meaning) + "\n";
    }
    return help;
}

void applyAssignment(TextureFields& fields, const std::string& assignment) {
    const std::size_t eq = assignment.find('=');
    if (eq == std::string::npos) {
        throw usageError("'" + assignment + "' is not FIELD=VALUE");
    }
    const std::string name = assignment.substr(0, eq);
    const TextureField* f = findTextureField(name);
    if (!f) {
        throw usageError("unknown field '" + name + "'" + didYouMean(name, everyFieldName()) +
                         " (see 'morvessan render --help')");
    }
    const std::string value = assignment.substr(eq + 1);
    if (const std::string error = setTextureField(fields, *f, value); !error.empty()) {
        throw usageError(refusal(*f, value, error));
    }
}

double parseNumber(const std::string& text, const std::string& what) {
    double value = 0;
    if (!parseDecimal(text, value)) {
        throw usageError(what + " '" + text + "' is not a number");
    }
    return value;
}

void parsePair(const std::string& text, double& a, double& b, const std::string& what) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos || !parseDecimal(text.substr(0, comma), a) ||
        !parseDecimal(text.substr(comma + 1), b)) {
        throw usageError(what + " '" + text + "' is not two numbers A,B");
    }
}

namespace {

bool isFrameStep(const std::string& name) { return name.rfind("--per-frame-", 0) == 0; }

bool isFieldOption(const std::string& name) {
    const auto& valued = fieldValuedOptions();
    return !isFrameStep(name) &&
           (std::find(valued.begin(), valued.end(), name) != valued.end() || name == "--reset-transform");
}

double positive(const std::string& name, const std::string& value, double number) {
    if (!(number > 0) || !std::isfinite(portableLog2(number))) {
        throw usageError(name + " '" + value + "' must be greater than 0");
    }
    return number;
}

} // namespace

bool hasFieldOptions(const Arguments& args) {
    for (const auto& option : args.ordered()) {
        if (isFieldOption(option.first)) {
            return true;
        }
    }
    return false;
}

bool applyFieldOptions(const Arguments& args, TextureFields& fields, const FieldEditContext& context) {
    bool any = false;
    for (const auto& [name, value] : args.ordered()) {
        if (!isFieldOption(name)) {
            continue;
        }
        any = true;
        TextureTransform& m = fields.transformation;
        if (name == "--set") {
            // The block's own fields (scaleBySource ...) were set with the block.
            if (!isBlockOwnField(value.substr(0, value.find('=')))) {
                applyAssignment(fields, value);
            }
        } else if (name == "--seed") {
            const std::string seed = value != "random"    ? value
                                     : context.randomSeed ? formatInt(*context.randomSeed)
                                                          : formatInt(*chooseRandomSeed(args));
            set(fields, fieldShorthand("--seed").field, seed);
        } else if (name == "--blur") {
            setEffect(fields, "blurEnabled", fieldShorthand("--blur").field, value);
        } else if (name == "--grain") {
            setEffect(fields, "noiseEnabled", fieldShorthand("--grain").field, value);
        } else if (name == "--picture") {
            set(fields, fieldShorthand("--picture").field, pictureFile(value, context));
            set(fields, "textureEnabled", "on");
        } else if (const FieldShorthand* shorthand = findFieldShorthand(name); shorthand != nullptr) {
            set(fields, shorthand->field, value);
        } else if (name == "--move") {
            double dx = 0;
            double dy = 0;
            parsePair(value, dx, dy, "--move");
            moveStep(m, context, dx, dy);
        } else if (name == "--rotate") {
            rotateStep(m, context, parseNumber(value, "--rotate"));
        } else if (name == "--scale" || name == "--zoom") {
            double sx = 0;
            double sy = 0;
            if (name == "--scale") {
                parsePair(value, sx, sy, "--scale");
            } else {
                sx = sy = parseNumber(value, "--zoom");
            }
            scaleStep(m, context, positive(name, value, sx), positive(name, value, sy));
        } else if (name == "--reset-transform") {
            resetTexture(m, stepView(context));
        }
    }
    return any;
}

std::optional<std::int32_t> chooseRandomSeed(const Arguments& args) {
    for (const auto& [name, value] : args.ordered()) {
        if (name == "--seed" && value == "random") {
            // As the dialog's Randomise button, but never 0: seed 0 draws a new pattern
            // on every run, and the printed seed must give the picture back.
            return drawSeed();
        }
    }
    return std::nullopt;
}

std::int32_t drawSeed() {
    std::random_device device;
    const std::int32_t seed = std::uniform_int_distribution<std::int32_t>(kRandomSeedLow, kRandomSeedHigh)(device);
    std::cerr << "morvessan: seed " << seed << "\n";
    return seed;
}

bool hasFrameSteps(const Arguments& args) {
    for (const auto& option : args.ordered()) {
        if (isFrameStep(option.first)) {
            return true;
        }
    }
    return false;
}

FrameSteps::FrameSteps(const Arguments& args) {
    for (const auto& option : args.ordered()) {
        if (isFrameStep(option.first)) {
            m_steps.push_back(option);
        }
    }
}

void FrameSteps::apply(TextureFields& fields, const FieldEditContext& context, int frame) {
    const bool same = m_frame >= 0 && m_frame <= frame && context.width == m_width && context.height == m_height &&
                      context.patternSize == m_pattern_size && std::memcmp(&fields, &m_start, sizeof fields) == 0;
    if (!same) {
        // Byte copies, padding included, so that the comparison above sees only values.
        std::memcpy(static_cast<void*>(&m_start), &fields, sizeof fields);
        std::memcpy(static_cast<void*>(&m_reached), &fields, sizeof fields);
        m_width = context.width;
        m_height = context.height;
        m_pattern_size = context.patternSize;
        m_frame = 0;
    }
    for (; m_frame < frame; ++m_frame) {
        round(m_reached, context);
    }
    fields = m_reached;
}

void FrameSteps::round(TextureFields& fields, const FieldEditContext& context) {
    ++m_rounds;
    for (const auto& [name, value] : m_steps) {
        if (name == "--per-frame-move") {
            double dx = 0;
            double dy = 0;
            parsePair(value, dx, dy, name);
            moveStep(fields.transformation, context, dx, dy);
        } else if (name == "--per-frame-rotate") {
            rotateStep(fields.transformation, context, parseNumber(value, name));
        } else if (name == "--per-frame-zoom") {
            const double f = positive(name, value, parseNumber(value, name));
            scaleStep(fields.transformation, context, f, f);
        } else if (name == "--per-frame-seed") {
            // Past the editors' top the seeds start again from 0.
            const auto top = static_cast<std::int32_t>(textureField(TextureFieldId::NoiseSeed).high);
            fields.noiseSeed = fields.noiseSeed >= 0 && fields.noiseSeed < top ? fields.noiseSeed + 1 : 0;
        }
    }
}

} // namespace morvessan::cli
