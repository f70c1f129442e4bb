// Choosing presets from the library for the command line.
#include "host/cli/CliLibrary.h"

#include "VXLib/VXUTIL/VXPath.h"
#include "host/cli/CliFolders.h"
#include "host/cli/CliSupport.h"

#include <filesystem>

namespace morvessan::cli {

void loadLibrary(PresetLibrary& library, const std::string& presetsDir, const std::string& texturesDir,
                 const TextureFields& current) {
    library.setTexturesFolder(asFolder(texturesDir));
    library.discoverPresetFilesIn(presetFoldersFor(presetsDir), current);
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
    // The named file; else the block's file first, then every file in order.
    std::vector<int> files;
    if (choice.file) {
        const int index = findFile(library, *choice.file);
        for (const UnreadablePresetFile& unreadable : library.unreadableFiles()) {
            if (index < 0 && unreadable.name == *choice.file) {
                throw CliError(unreadable.error);
            }
        }
        if (index < 0) {
            throw CliError("no preset file named '" + *choice.file + "' in " + library.presetsFolder() +
                           " (see 'morvessan presets list')");
        }
        files.push_back(index);
    } else {
        const int current = findFile(library, readField(block.presetFile, kPathSize));
        if (current >= 0) {
            files.push_back(current);
        }
        for (int f = 0; f < library.fileCount(); ++f) {
            if (f != current) {
                files.push_back(f);
            }
        }
    }
    bool categoryFound = !choice.category;
    for (int f : files) {
        const PresetFile& file = library.file(f);
        for (int c = 0; c < file.categoryCount(); ++c) {
            if (choice.category && file.categoryName(c) != *choice.category) {
                continue;
            }
            categoryFound = true;
            for (int p = 0; p < file.presetCount(c); ++p) {
                if (!choice.preset || file.presetName(c, p) == *choice.preset) {
                    // The preset itself was read whole; the rest of its file was not.
                    warn(file.damage());
                    return store(block, file, c, p);
                }
            }
        }
    }
    // What was not found may stand in the part of a file that could not be read.
    std::string unread;
    for (int f : files) {
        if (!library.file(f).readWhole()) {
            unread += "; " + library.file(f).damage();
        }
    }
    const std::string where = (choice.file ? " in '" + *choice.file + "'" : std::string(" in the library")) + unread;
    if (!categoryFound) {
        throw CliError("no category named '" + *choice.category + "'" + where);
    }
    if (choice.preset) {
        throw CliError("no preset named '" + *choice.preset + "'" +
                       (choice.category ? " in category '" + *choice.category + "'" : std::string()) + where);
    }
    throw CliError("no presets" + (choice.category ? " in category '" + *choice.category + "'" : std::string()) +
                   where);
}

std::string applyShowcase(FilterParameters& block, PresetLibrary& library) {
    if (!libraryOnDisk(library)) {
        return {};
    }
    // The shipped library's best first impression, when it is there.
    for (const char* name : {"Bonfire", "Sunset Streaks", "Malachite"}) {
        try {
            return applyChoice(block, library, PresetChoice{std::nullopt, std::nullopt, std::string(name)});
        } catch (const CliError&) {
        }
    }
    // Otherwise an opaque preset of several colours shows what the filter does
    // better than a faint overlay; failing that, the first preset.
    const auto opaque = [](const TexturePreset& preset) {
        if (preset.colourCount < 3 || preset.colourCount > kMaxColourStops || preset.totalOpacity < 100.0) {
            return false;
        }
        for (int i = 0; i < preset.colourCount; ++i) {
            if ((preset.colours[i] >> 24) != 0xFF) {
                return false;
            }
        }
        return true;
    };
    for (const bool strict : {true, false}) {
        for (int f = 0; f < library.fileCount(); ++f) {
            const PresetFile& file = library.file(f);
            for (int c = 0; c < file.categoryCount(); ++c) {
                for (int p = 0; p < file.presetCount(c); ++p) {
                    if (!strict || opaque(file.preset(c, p))) {
                        return store(block, file, c, p);
                    }
                }
            }
        }
    }
    return {};
}

} // namespace morvessan::cli
