// "params show", "params set" and "params init": the parameter block as text or
// JSON, fields changed by name, and a fresh block.
#include "VXLib/VXUTIL/VXNumberText.h"
#include "job/JobFiles.h"
#include "cli/CliBlockText.h"
#include "cli/CliFields.h"
#include "cli/CliOptionTable.h"
#include "job/NameSuggestions.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "texture/FilterParameters.h"

#include <cstring>
#include <filesystem>
#include <iostream>

namespace morvessan::cli {

namespace {

const char* const kParamsHelp =
    "usage: morvessan params show [--json] FILE\n"
    "       morvessan params set FILE FIELD=VALUE...\n"
    "       morvessan params init FILE\n"
    "\n"
    "show  prints the fields of a parameter block file, one 'name: value' a line, or\n"
    "      with --json as one JSON object (the fields below, then presetFile,\n"
    "      categoryIndex, scaleBySource, overwriteSource and \"schema\": 1)\n"
    "set   changes fields of a block file (a missing file starts from the defaults);\n"
    "      every value show prints is taken back as printed; nothing is written when\n"
    "      any value is refused\n"
    "init  writes a parameter block with every default; an existing FILE is replaced\n"
    "      only when it is a parameter block\n";

void show(const FilterParameters& b) {
    for (const auto& [name, value] : blockFieldTexts(b)) {
        std::cout << name << ": " << printable(value) << "\n";
    }
}

// Padding bytes zeroed too, so the same fields always give the same file.
FilterParameters freshBlock() {
    FilterParameters block;
    std::memset(static_cast<void*>(&block), 0, sizeof block);
    writeDefaultParameters(block);
    return block;
}

FilterParameters readBlock(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!readParameterFile(path, bytes, error)) {
        throw JobError(error);
    }
    FilterParameters block;
    std::memcpy(static_cast<void*>(&block), bytes.data(), sizeof block);
    return block;
}

void writeBlock(const std::string& path, const FilterParameters& block) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(&block);
    const std::vector<std::uint8_t> bytes(data, data + sizeof block);
    std::string error;
    if (!writeFileWhole(path, bytes, error)) {
        throw JobError(error);
    }
}

} // namespace

int commandParams(const std::vector<std::string>& list) {
    const std::string fields = fieldOptionsHelp().substr(fieldOptionsHelp().find("\nFields"));
    if (list.empty() || list[0] == "--help" || list[0] == "-h") {
        std::cout << kParamsHelp << "\n" << optionsHelp("params") << (list.empty() ? "" : fields);
        return list.empty() ? 2 : 0;
    }
    const std::vector<std::string> rest(list.begin() + 1, list.end());
    const Arguments args("params " + list[0], rest, {}, {"--json"});
    if (args.help()) {
        std::cout << kParamsHelp << "\n" << optionsHelp("params") << fields;
        return 0;
    }
    if (list[0] == "show") {
        args.expectOperands(1, "one operand: FILE");
        const FilterParameters block = readBlock(args.operands()[0]);
        if (args.has("--json")) {
            std::cout << blockJson(block);
        } else {
            show(block);
        }
        return 0;
    }
    if (list[0] == "set") {
        if (args.operands().size() < 2) {
            throw usageError("'params set' takes FILE FIELD=VALUE... (see 'morvessan params --help')");
        }
        const std::string& path = args.operands()[0];
        FilterParameters block = freshBlock();
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
            block = readBlock(path);
        }
        for (std::size_t i = 1; i < args.operands().size(); ++i) {
            applyBlockAssignment(block, args.operands()[i]);
        }
        checkTransformation(block.texture.transformation,
                            "set transformation=1,0,0,0,1,0,0,0,1 for the plain one; " + path + " is kept");
        writeBlock(path, block);
        return 0;
    }
    if (list[0] == "init") {
        args.expectOperands(1, "one operand: FILE");
        const std::string& path = args.operands()[0];
        // Only a parameter block is ever replaced: any other file (a picture, a preset
        // file) that the name happens to reach is kept.
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
            std::vector<std::uint8_t> bytes;
            std::string error;
            if (!readParameterFile(path, bytes, error)) {
                throw JobError(error + "; it is kept, and no block was written");
            }
        }
        writeBlock(path, freshBlock());
        return 0;
    }
    throw usageError("unknown params command '" + list[0] + "' (show, set or init)" +
                     didYouMean(list[0], {"show", "set", "init"}));
}

} // namespace morvessan::cli
