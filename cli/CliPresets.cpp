// "presets list", "presets check" and "presets add": the preset library from
// the command line.
#include "job/JobFiles.h"
#include "job/JobFolders.h"
#include "job/JobLibrary.h"
#include "job/JobPresetAdd.h"
#include "cli/CliBlockText.h"
#include "cli/CliFields.h"
#include "cli/CliOptionTable.h"
#include "job/NameSuggestions.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "presets/PresetDiskFile.h"
#include "presets/PresetText.h"
#include "texture/TextureFieldTable.h"

#include <filesystem>
#include <iostream>

namespace morvessan::cli {

namespace {

const char* const kPresetsHelp =
    "usage: morvessan presets list [--json] [--presets-dir DIR] [--textures-dir DIR]\n"
    "       morvessan presets check FILE...\n"
    "       morvessan presets add --preset-file NAME --category NAME --name NAME [--params FILE]\n"
    "                             [texture options] [--presets-dir DIR] [--textures-dir DIR]\n"
    "\n"
    "list   shows every preset file of the presets folder with its categories and presets;\n"
    "       a file that cannot be read whole is marked with '!' and the exit status is 1;\n"
    "       --json prints one JSON object instead (see the README)\n"
    "check  reads each preset file and says where reading stopped and why; the exit\n"
    "       status is non-zero when a file was not read whole\n"
    "add    adds the texture of the parameter block (defaults without --params) as a\n"
    "       preset and saves the file, as \"Add Preset\" does; a missing file or\n"
    "       category is created; a name the category holds is refused; a file that\n"
    "       was not read whole is left as it is; the file is locked while it is\n"
    "       changed, so adds at the same time all keep their presets; render's texture\n"
    "       options (--type, --seed, --colours ..., --set FIELD=VALUE, --rotate ...) edit\n"
    "       the texture first, in the order given, moves in pixels of render's default\n"
    "       1024 x 768 canvas\n";

std::string jsonBool(bool value) { return value ? "true" : "false"; }

// The library as one JSON object; each preset carries the fields as "params show --json" names them.
void listJson(const PresetLibrary& library, bool& whole) {
    std::string out = "{\n  \"files\": [";
    for (int f = 0; f < library.fileCount(); ++f) {
        const PresetFile& file = library.file(f);
        whole = whole && file.readWhole();
        out += std::string(f ? "," : "") + "\n    {\"name\": " + jsonString(file.name()) +
               ", \"path\": " + jsonString(file.path()) + ", \"readWhole\": " + jsonBool(file.readWhole()) +
               ", \"damage\": " + jsonString(file.readWhole() ? std::string() : file.damage()) + ", \"categories\": [";
        for (int c = 0; c < file.categoryCount(); ++c) {
            out += std::string(c ? "," : "") + "\n      {\"name\": " + jsonString(file.categoryName(c)) +
                   ", \"presets\": [";
            for (int p = 0; p < file.presetCount(c); ++p) {
                const TexturePreset& preset = file.preset(c, p);
                out += std::string(p ? "," : "") + "\n        {\"name\": " + jsonString(preset.name);
                for (const TextureField& field : textureFields()) {
                    out += ", " + jsonString(field.name) + ": " + textureFieldJson(preset, field);
                }
                out += "}";
            }
            out += "]}";
        }
        out += "]}";
    }
    out += "\n  ],\n  \"unreadable\": [";
    bool first = true;
    for (const UnreadablePresetFile& file : library.unreadableFiles()) {
        out += std::string(first ? "" : ",") + "\n    {\"name\": " + jsonString(file.name) +
               ", \"error\": " + jsonString(file.error) + "}";
        first = false;
    }
    std::cout << out << "\n  ]\n}\n";
}

int list(const std::vector<std::string>& rest) {
    const Arguments args("presets list", rest, {"--presets-dir", "--textures-dir"}, {"--json"});
    if (args.help()) {
        std::cout << kPresetsHelp << "\n" << optionsHelp("presets");
        return 0;
    }
    args.expectOperands(0, "no operands");
    PresetLibrary library;
    FilterParameters block{};
    writeDefaultParameters(block);
    loadLibrary(library, args.value("--presets-dir").value_or(defaultPresetsDir()),
                args.value("--textures-dir").value_or(defaultTexturesDir()), block.texture);
    if (!libraryOnDisk(library)) {
        if (!library.unreadableFiles().empty()) {
            throw JobError(library.unreadableFiles().front().error);
        }
        throw JobError("no preset files in " + library.presetsFolder());
    }
    bool whole = library.unreadableFiles().empty();
    if (args.has("--json")) {
        listJson(library, whole);
        return whole ? 0 : 1;
    }
    for (int f = 0; f < library.fileCount(); ++f) {
        const PresetFile& file = library.file(f);
        std::cout << printable(file.name()) << "  (" << printable(file.path()) << ")\n";
        if (!file.readWhole()) {
            std::cout << "  ! " << printable(file.damage()) << "\n";
            whole = false;
        }
        for (int c = 0; c < file.categoryCount(); ++c) {
            std::cout << "  " << printable(file.categoryName(c)) << "\n";
            for (int p = 0; p < file.presetCount(c); ++p) {
                std::cout << "    " << printable(file.presetName(c, p)) << "\n";
            }
        }
    }
    for (const UnreadablePresetFile& file : library.unreadableFiles()) {
        std::cout << printable(file.name) << "  ! " << printable(file.error) << "\n";
    }
    return whole ? 0 : 1;
}

std::size_t presetCount(const std::vector<PresetCategory>& categories) {
    std::size_t n = 0;
    for (const PresetCategory& category : categories) {
        n += category.presets.size();
    }
    return n;
}

// Reads one file and reports; true when it was read whole.
bool checkFile(const std::string& path) {
    const FileText file = readWholeFile(path);
    if (!file.opened) {
        std::cout << printable(file.error) << "\n";
        return false;
    }
    PresetReadStop stop;
    const std::vector<PresetCategory> all = readPresetText(file.text, "", &stop);
    const std::size_t total = presetCount(all);
    if (!stop.whole()) {
        std::cout << printable(path) << ": reading stopped at " << printable(stop.describe()) << "; " << total
                  << " presets were read\n";
        return false;
    }
    std::cout << printable(path) << ": read whole: " << all.size() << " categories, " << total << " presets\n";
    return true;
}

int check(const std::vector<std::string>& rest) {
    const Arguments args("presets check", rest, {}, {});
    if (args.help()) {
        std::cout << kPresetsHelp << "\n" << optionsHelp("presets");
        return 0;
    }
    if (args.operands().empty()) {
        throw usageError("'presets check' takes one or more preset files");
    }
    bool whole = true;
    for (const std::string& path : args.operands()) {
        whole = checkFile(path) && whole;
    }
    return whole ? 0 : 1;
}

// The texture options of render that a preset can hold: none of a sequence's steps.
std::vector<std::string> addValued() {
    std::vector<std::string> names{"--preset-file", "--category",    "--name",
                                   "--params",      "--presets-dir", "--textures-dir"};
    for (const std::string& name : fieldValuedOptions()) {
        if (name.rfind("--per-frame-", 0) != 0) {
            names.push_back(name);
        }
    }
    return names;
}

int add(const std::vector<std::string>& rest) {
    const Arguments args("presets add", rest, addValued(), {"--reset-transform"});
    if (args.help()) {
        std::cout << kPresetsHelp << "\n" << optionsHelp("presets");
        return 0;
    }
    args.expectOperands(0, "no operands");
    const auto fileName = args.value("--preset-file");
    const auto categoryName = args.value("--category");
    const auto presetName = args.value("--name");
    if (!fileName || !categoryName || !presetName) {
        throw usageError("'presets add' needs --preset-file, --category and --name");
    }
    std::vector<std::uint8_t> bytes(kFilterParametersSize, 0);
    writeDefaultParameters(*reinterpret_cast<FilterParameters*>(bytes.data()));
    if (const auto params = args.value("--params")) {
        std::string error;
        if (!readParameterFile(*params, bytes, error)) {
            throw JobError(error);
        }
    }
    PresetAddRequest request;
    request.presetsDir = args.value("--presets-dir").value_or(defaultPresetsDir());
    request.texturesDir = args.value("--textures-dir").value_or(defaultTexturesDir());
    for (const auto& [name, value] : args.ordered()) {
        if (name == "--set" && isBlockOwnField(value.substr(0, value.find('=')))) {
            throw usageError("--set " + value + ": a preset holds the texture, not the block's own fields");
        }
    }
    // As render's options edit a texture: moves in pixels of its default canvas.
    FieldEditContext context;
    context.width = 1024;
    context.height = 768;
    context.texturesDir = request.texturesDir;
    context.randomSeed = chooseRandomSeed(args);
    applyFieldOptions(args, reinterpret_cast<FilterParameters*>(bytes.data())->texture, context);
    checkTransformation(reinterpret_cast<FilterParameters*>(bytes.data())->texture.transformation,
                        "--reset-transform gives the plain one");
    // The user's own folder of an installed program is made on its first write.
    request.makeFolder = !args.value("--presets-dir") && !ownFolders().sharedPresets.empty();
    request.file = *fileName;
    request.category = *categoryName;
    request.name = *presetName;
    const AddedPreset added = addPreset(request, *reinterpret_cast<const FilterParameters*>(bytes.data()));
    std::cout << "Added '" << printable(added.name) << "' to " << printable(added.file) << " / "
              << printable(added.category) << " (" << printable(added.path) << ")\n";
    return 0;
}

} // namespace

int commandPresets(const std::vector<std::string>& args) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::cout << kPresetsHelp << "\n" << optionsHelp("presets");
        return args.empty() ? 2 : 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "list") {
        return list(rest);
    }
    if (args[0] == "check") {
        return check(rest);
    }
    if (args[0] == "add") {
        return add(rest);
    }
    throw usageError("unknown presets command '" + args[0] + "' (list, check or add)" +
                     didYouMean(args[0], {"list", "check", "add"}));
}

} // namespace morvessan::cli
