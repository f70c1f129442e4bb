// "presets list", "presets check" and "presets add": the preset library from
// the command line.
#include "host/HostFiles.h"
#include "host/cli/CliLibrary.h"
#include "host/cli/CliSupport.h"
#include "host/cli/Commands.h"
#include "presets/PresetText.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace morvessan::cli {

namespace {

const char* const kPresetsHelp =
    "usage: morvessan presets list [--presets-dir DIR] [--textures-dir DIR]\n"
    "       morvessan presets check FILE...\n"
    "       morvessan presets add --preset-file NAME --category NAME --name NAME [--params FILE]\n"
    "                             [--presets-dir DIR] [--textures-dir DIR]\n"
    "\n"
    "list   shows every preset file of the presets folder with its categories and presets\n"
    "check  reads each preset file and says where reading stopped and why; the exit\n"
    "       status is non-zero when a file was not read whole\n"
    "add    adds the texture of the parameter block (defaults without --params) as a\n"
    "       preset and saves the file, as \"Add Preset\" does; a missing file or\n"
    "       category is created\n";

int list(const std::vector<std::string>& rest) {
    const Arguments args("presets list", rest, {"--presets-dir", "--textures-dir"}, {});
    if (args.help()) {
        std::cout << kPresetsHelp;
        return 0;
    }
    args.expectOperands(0, "no operands");
    PresetLibrary library;
    FilterParameters block{};
    writeDefaultParameters(block);
    loadLibrary(library, args.value("--presets-dir").value_or(defaultPresetsDir()),
                args.value("--textures-dir").value_or(defaultTexturesDir()), block.texture);
    if (!libraryOnDisk(library)) {
        throw CliError("no preset files in " + library.presetsFolder());
    }
    for (int f = 0; f < library.fileCount(); ++f) {
        const PresetFile& file = library.file(f);
        std::cout << file.name() << "  (" << file.path() << ")\n";
        for (int c = 0; c < file.categoryCount(); ++c) {
            std::cout << "  " << file.categoryName(c) << "\n";
            for (int p = 0; p < file.presetCount(c); ++p) {
                std::cout << "    " << file.presetName(c, p) << "\n";
            }
        }
    }
    return 0;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += lines[i];
        text += '\n';
    }
    return text;
}

std::size_t presetCount(const std::vector<PresetCategory>& categories) {
    std::size_t n = 0;
    for (const PresetCategory& category : categories) {
        n += category.presets.size();
    }
    return n;
}

bool isBlank(const std::string& line) {
    return splitPresetLine(line).empty();
}

bool isPresetHeading(const std::string& line) {
    const auto tokens = splitPresetLine(line);
    return tokens.size() >= 2 && tokens[0] == "Preset";
}

std::string shown(const std::string& line) {
    std::string text = line;
    if (!text.empty() && text.back() == '\r') {
        text.pop_back();
    }
    return text.size() > 60 ? text.substr(0, 57) + "..." : text;
}

// Reads one file and reports; true when it was read whole.
bool checkFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cout << path << ": cannot be opened\n";
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        std::cout << path << ": a read error stopped reading\n";
        return false;
    }
    const std::string text = buffer.str();
    PresetTextReader reader(text, "");
    const std::vector<PresetCategory> all = reader.readAll();
    const std::size_t total = presetCount(all);
    const std::vector<std::string> lines = splitLines(text);

    // A preset block cut short by the next "Preset" line is dropped while reading
    // goes on: its heading adds no preset before the next heading.
    std::vector<std::size_t> headings;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (isPresetHeading(lines[i])) {
            headings.push_back(i);
        }
    }
    const auto presetsBefore = [&](std::size_t line) {
        return presetCount(readPresetText(joinLines(lines, line), ""));
    };
    for (std::size_t h = 0; h + 1 < headings.size(); ++h) {
        if (presetsBefore(headings[h + 1]) <= presetsBefore(headings[h])) {
            std::cout << path << ": reading stopped at line " << headings[h] + 1 << " (" << shown(lines[headings[h]])
                      << "): the preset block is missing a line or has a wrong one; " << total
                      << " presets were read\n";
            return false;
        }
    }
    // Reading ends at a line that starts neither a category nor a preset; what
    // follows it is not read. Blank lines at the end are no loss.
    // The reader's last line is the one it stopped at, unless it was blank or the end.
    std::size_t from = reader.linesTaken();
    if (!reader.tokens().empty() && from > 0) {
        --from;
    }
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (!isBlank(lines[i])) {
            std::cout << path << ": reading stopped at line " << i + 1 << " (" << shown(lines[i])
                      << "): expected a \"Category\" heading or a \"Preset\" block; " << total
                      << " presets were read\n";
            return false;
        }
    }
    std::cout << path << ": read whole: " << all.size() << " categories, " << total << " presets\n";
    return true;
}

int check(const std::vector<std::string>& rest) {
    const Arguments args("presets check", rest, {}, {});
    if (args.help()) {
        std::cout << kPresetsHelp;
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

int add(const std::vector<std::string>& rest) {
    const Arguments args("presets add", rest,
                         {"--preset-file", "--category", "--name", "--params", "--presets-dir", "--textures-dir"}, {});
    if (args.help()) {
        std::cout << kPresetsHelp;
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
    auto* block = reinterpret_cast<FilterParameters*>(bytes.data());
    writeDefaultParameters(*block);
    if (const auto params = args.value("--params")) {
        std::string error;
        if (!readParameterFile(*params, bytes, error)) {
            throw CliError(error);
        }
        block = reinterpret_cast<FilterParameters*>(bytes.data());
    }
    PresetLibrary library;
    loadLibrary(library, args.value("--presets-dir").value_or(defaultPresetsDir()),
                args.value("--textures-dir").value_or(defaultTexturesDir()), block->texture);
    int fileIndex = findFile(library, *fileName);
    if (fileIndex >= 0 && !libraryOnDisk(library)) {
        // The stand-in "Default" file of an empty folder holds the current texture
        // for the dialog; a file saved from here starts empty, as a new file does.
        PresetFile& standIn = library.file(fileIndex);
        for (int c = 0; c < standIn.categoryCount(); ++c) {
            while (standIn.presetCount(c) > 0) {
                standIn.deletePreset(c, 0);
            }
        }
    }
    if (fileIndex < 0) {
        if (!library.validateFileName(*fileName)) {
            throw CliError(withPlatformMessage("cannot add a preset file named '" + *fileName + "'"));
        }
        library.newPresetFile(*fileName);
        fileIndex = library.fileCount() - 1;
    }
    PresetFile& file = library.file(fileIndex);
    int category = -1;
    for (int c = 0; c < file.categoryCount(); ++c) {
        if (file.categoryName(c) == *categoryName) {
            category = c;
            break;
        }
    }
    if (category < 0) {
        if (!file.isCategoryNameFree(*categoryName)) {
            throw CliError(withPlatformMessage("cannot add a category named '" + *categoryName + "'"));
        }
        file.addCategory(*categoryName);
        category = file.categoryCount() - 1;
    }
    if (!checkWritableName(*presetName)) {
        throw CliError(withPlatformMessage("cannot store a preset named '" + *presetName + "'"));
    }
    file.addPreset(presetFromBlock(*block), category, *presetName);
    if (!file.save()) {
        throw CliError(withPlatformMessage("could not save '" + file.path() + "' (does the presets folder exist, and was the file read whole?)"));
    }
    std::cout << "Added '" << *presetName << "' to " << file.name() << " / " << *categoryName << " ("
              << file.path() << ")\n";
    return 0;
}

} // namespace

int commandPresets(const std::vector<std::string>& args) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::cout << kPresetsHelp;
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
    throw usageError("unknown presets command '" + args[0] + "' (list, check or add)");
}

} // namespace morvessan::cli
