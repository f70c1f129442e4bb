// Choosing presets from the library for the command line.
#include "host/cli/CliLibrary.h"

#include "VXLib/VXUTIL/VXPath.h"
#include "host/cli/CliSupport.h"

#include <filesystem>

namespace morvessan::cli {

void loadLibrary(PresetLibrary& library, const std::string& presetsDir, const std::string& texturesDir,
                 const TextureFields& current) {
    library.setTexturesFolder(asFolder(texturesDir));
    library.discoverPresetFilesIn(presetsDir, current);
}

bool libraryOnDisk(const PresetLibrary& library) {
    for (int i = 0; i < library.fileCount(); ++i) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(library.file(i).path(), ec)) {
            return true;
        }
    }
    return false;
}

int findFile(const PresetLibrary& library, const std::string& name) {
    for (int i = 0; i < library.fileCount(); ++i) {
        if (library.file(i).name() == name) {
            return i;
        }
    }
    return -1;
}

namespace {

std::string store(FilterParameters& block, const PresetFile& file, int category, int index) {
    const TexturePreset& preset = file.preset(category, index);
    storePresetInBlock(block, preset);
    copyToField(block.presetFile, kPathSize, file.name());
    block.categoryIndex = category;
    return "'" + preset.name + "' from " + file.name();
}

} // namespace

std::string applyChoice(FilterParameters& block, PresetLibrary& library, const PresetChoice& choice) {
    int fileIndex = -1;
    if (choice.file) {
        fileIndex = findFile(library, *choice.file);
        if (fileIndex < 0) {
            throw CliError("no preset file named '" + *choice.file + "' in " + library.presetsFolder() +
                           " (see 'morvessan presets list')");
        }
    } else {
        fileIndex = findFile(library, readField(block.presetFile, kPathSize));
        if (fileIndex < 0) {
            fileIndex = 0;
        }
    }
    const PresetFile& file = library.file(fileIndex);
    int first = 0;
    int last = file.categoryCount() - 1;
    if (choice.category) {
        first = -1;
        for (int c = 0; c < file.categoryCount(); ++c) {
            if (file.categoryName(c) == *choice.category) {
                first = last = c;
                break;
            }
        }
        if (first < 0) {
            throw CliError("preset file '" + file.name() + "' has no category named '" + *choice.category + "'");
        }
    }
    for (int c = first; c <= last; ++c) {
        for (int p = 0; p < file.presetCount(c); ++p) {
            if (!choice.preset || file.presetName(c, p) == *choice.preset) {
                return store(block, file, c, p);
            }
        }
    }
    if (choice.preset) {
        throw CliError("no preset named '" + *choice.preset + "' in " +
                       (choice.category ? "category '" + *choice.category + "' of " : std::string()) + "'" +
                       file.name() + "'");
    }
    throw CliError("'" + file.name() + "' holds no presets" +
                   (choice.category ? " in category '" + *choice.category + "'" : std::string()));
}

std::string applyShowcase(FilterParameters& block, PresetLibrary& library) {
    if (!libraryOnDisk(library)) {
        return {};
    }
    // A preset with several colour stops, mostly opaque, shows what the filter does;
    // otherwise the first preset of the library.
    for (int f = 0; f < library.fileCount(); ++f) {
        const PresetFile& file = library.file(f);
        for (int c = 0; c < file.categoryCount(); ++c) {
            for (int p = 0; p < file.presetCount(c); ++p) {
                const TexturePreset& preset = file.preset(c, p);
                if (preset.colourCount >= 3 && preset.totalOpacity >= 80.0) {
                    return store(block, file, c, p);
                }
            }
        }
    }
    for (int f = 0; f < library.fileCount(); ++f) {
        const PresetFile& file = library.file(f);
        for (int c = 0; c < file.categoryCount(); ++c) {
            if (file.presetCount(c) > 0) {
                return store(block, file, c, 0);
            }
        }
    }
    return {};
}

} // namespace morvessan::cli
