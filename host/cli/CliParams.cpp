// "params show" and "params init": the parameter block as text, and a fresh one.
#include "VXLib/VXUTIL/VXNumberText.h"
#include "host/HostFiles.h"
#include "host/cli/CliSupport.h"
#include "host/cli/Commands.h"
#include "texture/FilterParameters.h"

#include <cstring>
#include <iostream>

namespace morvessan::cli {

namespace {

const char* const kParamsHelp =
    "usage: morvessan params show FILE\n"
    "       morvessan params init FILE\n"
    "\n"
    "show  prints the fields of a parameter block file as text\n"
    "init  writes a parameter block with every default\n";

const char* typeName(std::int32_t type) {
    switch (type) {
    case kFire:
        return "Fire";
    case kMarble:
        return "Marble";
    case kWood:
        return "Wood";
    case kCloud:
        return "Cloud";
    default:
        return "Cloud (unknown type value)";
    }
}

std::string onOff(std::uint8_t flag) {
    return flag ? "on" : "off";
}

void show(const FilterParameters& b) {
    const TextureFields& t = b.texture;
    std::cout << "type: " << typeName(t.type) << " (" << formatInt(t.type) << ")\n";
    std::cout << "noiseLevel: " << formatG(t.noiseLevel) << "\n";
    std::cout << "noiseSeed: " << formatInt(t.noiseSeed) << "\n";
    std::cout << "colourCount: " << formatInt(t.colourCount) << "\n";
    const int stops = t.colourCount < 0 ? 0 : (t.colourCount > kMaxColourStops ? kMaxColourStops : t.colourCount);
    for (int i = 0; i < stops; ++i) {
        std::cout << "  stop " << i << ": colour " << formatHex8(t.colours[i]) << " position "
                  << formatInt(t.positions[i]) << "\n";
    }
    std::cout << "totalOpacity: " << formatG(t.totalOpacity) << "\n";
    std::cout << "transformation:";
    for (int i = 0; i < 9; ++i) {
        std::cout << (i % 3 == 0 && i > 0 ? " /" : "") << " " << formatG(t.transformation.m[i]);
    }
    std::cout << "\nnoiseWeights:";
    for (double w : t.noiseWeights) {
        std::cout << " " << formatG(w);
    }
    std::cout << "\nnoiseParameter: " << formatG(t.noiseParameter) << "\n";
    std::cout << "blur: " << onOff(t.blurEnabled) << ", amount " << formatInt(t.blur) << "\n";
    std::cout << "noise: " << onOff(t.noiseEnabled) << ", amount " << formatInt(t.noise) << "\n";
    std::cout << "texture: " << onOff(t.textureEnabled) << ", amount " << formatInt(t.textureAmount) << ", path '"
              << printable(readField(t.texturePath, kPathSize)) << "'\n";
    std::cout << "presetFile: '" << printable(readField(b.presetFile, kPathSize)) << "'\n";
    std::cout << "categoryIndex: " << formatInt(b.categoryIndex) << "\n";
    std::cout << "scaleBySource: " << onOff(b.scaleBySource) << "\n";
    std::cout << "overwriteSource: " << onOff(b.overwriteSource) << "\n";
}

} // namespace

int commandParams(const std::vector<std::string>& list) {
    if (list.empty() || list[0] == "--help" || list[0] == "-h") {
        std::cout << kParamsHelp;
        return list.empty() ? 2 : 0;
    }
    const std::vector<std::string> rest(list.begin() + 1, list.end());
    const Arguments args("params " + list[0], rest, {}, {});
    if (args.help()) {
        std::cout << kParamsHelp;
        return 0;
    }
    if (list[0] == "show") {
        args.expectOperands(1, "one operand: FILE");
        std::vector<std::uint8_t> bytes;
        std::string error;
        if (!readParameterFile(args.operands()[0], bytes, error)) {
            throw CliError(error);
        }
        FilterParameters block;
        std::memcpy(static_cast<void*>(&block), bytes.data(), sizeof block);
        show(block);
        return 0;
    }
    if (list[0] == "init") {
        args.expectOperands(1, "one operand: FILE");
        std::vector<std::uint8_t> bytes(kFilterParametersSize, 0);
        writeDefaultParameters(*reinterpret_cast<FilterParameters*>(bytes.data()));
        std::string error;
        if (!writeFileWhole(args.operands()[0], bytes, error)) {
            throw CliError(error);
        }
        return 0;
    }
    throw usageError("unknown params command '" + list[0] + "' (show or init)");
}

} // namespace morvessan::cli
