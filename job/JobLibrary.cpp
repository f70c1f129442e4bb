// Choosing presets from the library for the command line.
#include "job/JobLibrary.h"
#include "VXLib/VXUTIL/VXTextEncoding.h"

#include "VXLib/VXUTIL/VXPath.h"
#include "job/JobFolders.h"
#include "job/NameSuggestions.h"
#include "job/JobError.h"
#include "job/JobMessages.h"
#include "VXLib/VXUTIL/VXAsciiCase.h"

#include <algorithm>
#include <filesystem>

namespace morvessan::job {

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

namespace {

std::vector<std::string> fileNames(const PresetLibrary& library) {
    std::vector<std::string> names;
    for (int i = 0; i < library.fileCount(); ++i) {
        names.push_back(library.file(i).name());
    }
    return names;
}

std::string listed(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) {
        out += (out.empty() ? "" : ", ") + name;
    }
    return out;
}

std::string countWord(std::size_t n) {
    static const char* const words[] = {"no", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine"};
    return n < 10 ? words[n] : std::to_string(n);
}

} // namespace

int findFile(const PresetLibrary& library, const std::string& name) {
    const std::vector<std::size_t> matches = caseMatches(name, fileNames(library));
    return matches.size() == 1 ? static_cast<int>(matches[0]) : -1;
}

int chooseFile(const PresetLibrary& library, const std::string& name) {
    const std::vector<std::string> names = fileNames(library);
    const std::vector<std::size_t> matches = caseMatches(name, names);
    if (matches.size() == 1) {
        return static_cast<int>(matches[0]);
    }
    if (matches.size() > 1) {
        std::vector<std::string> found;
        for (const std::size_t i : matches) {
            found.push_back(names[i]);
        }
        throw requestError("--preset-file '" + name + "' matches " + countWord(found.size()) +
                           " preset files that differ only in case: " + listed(found) + "; give the exact name");
    }
    for (const UnreadablePresetFile& unreadable : library.unreadableFiles()) {
        if (equalsIgnoreCase(unreadable.name, name)) {
            throw JobError(unreadable.error);
        }
    }
    throw JobError("no preset file named '" + name + "' in " + library.presetsFolder() + didYouMean(name, names) +
                   " (see 'morvessan presets list')");
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

namespace {

struct Place {
    int file;
    int category;
    int preset;
};

// Preset files keep their names in Windows-1252; a name typed or passed from Python
// is UTF-8. Either spelling names the preset.
bool sameName(const std::string& stored, const std::string& given) {
    return stored == given || (!vxIsUtf8(stored) && vxToUtf8(stored) == given);
}
bool sameNameInAnyCase(const std::string& stored, const std::string& given) {
    return equalsIgnoreCase(stored, given) || (!vxIsUtf8(stored) && equalsIgnoreCase(vxToUtf8(stored), given));
}

// The categories of `files` that `name` picks: exact names, else those differing only in case.
std::vector<std::pair<int, int>> matchingCategories(const PresetLibrary& library, const std::vector<int>& files,
                                                    const std::optional<std::string>& name) {
    std::vector<std::pair<int, int>> exact;
    std::vector<std::pair<int, int>> folded;
    for (const int f : files) {
        const PresetFile& file = library.file(f);
        for (int c = 0; c < file.categoryCount(); ++c) {
            if (!name || sameName(file.categoryName(c), *name)) {
                exact.emplace_back(f, c);
            } else if (sameNameInAnyCase(file.categoryName(c), *name)) {
                folded.emplace_back(f, c);
            }
        }
    }
    return exact.empty() ? folded : exact;
}

// The presets called `name` in `categories`: exact names, else those differing only in case.
std::vector<Place> matchingPresets(const PresetLibrary& library, const std::vector<std::pair<int, int>>& categories,
                                   const std::string& name) {
    std::vector<Place> exact;
    std::vector<Place> folded;
    for (const auto& [f, c] : categories) {
        const PresetFile& file = library.file(f);
        for (int p = 0; p < file.presetCount(c); ++p) {
            if (sameName(file.presetName(c, p), name)) {
                exact.push_back({f, c, p});
            } else if (sameNameInAnyCase(file.presetName(c, p), name)) {
                folded.push_back({f, c, p});
            }
        }
    }
    return exact.empty() ? folded : exact;
}

// Several presets of one name: refused with where they are, unless all stand in one
// place the block already names.
Place onePlace(const PresetLibrary& library, const std::vector<Place>& places, const std::string& name, int current) {
    std::vector<Place> chosen = places;
    std::vector<std::string> files;
    for (const Place& place : places) {
        const std::string& file = library.file(place.file).name();
        if (std::find(files.begin(), files.end(), file) == files.end()) {
            files.push_back(file);
        }
    }
    // The block's own preset file is where its presets are looked up first, as in the dialog.
    if (files.size() > 1 && current >= 0) {
        std::vector<Place> own;
        for (const Place& place : places) {
            if (place.file == current) {
                own.push_back(place);
            }
        }
        if (!own.empty()) {
            chosen = own;
            files = {library.file(current).name()};
        }
    }
    if (files.size() > 1) {
        throw requestError("--preset '" + name + "' is in " + countWord(files.size()) +
                           " preset files: " + listed(files) + "; give --preset-file");
    }
    std::vector<std::string> categories;
    for (const Place& place : chosen) {
        const std::string category = vxToUtf8(library.file(place.file).categoryName(place.category));
        if (std::find(categories.begin(), categories.end(), category) == categories.end()) {
            categories.push_back(category);
        }
    }
    if (categories.size() > 1) {
        throw requestError("--preset '" + name + "' is in " + countWord(categories.size()) + " categories of " +
                           files[0] + ": " + listed(categories) + "; give --category");
    }
    return chosen.front();
}

} // namespace

std::string applyChoice(FilterParameters& block, PresetLibrary& library, const PresetChoice& choice) {
    // The named file; else the block's file first, then every file in order.
    std::vector<int> files;
    const int current = choice.file ? -1 : findFile(library, readField(block.presetFile, kPathSize));
    if (choice.file) {
        files.push_back(chooseFile(library, *choice.file));
    } else {
        if (current >= 0) {
            files.push_back(current);
        }
        for (int f = 0; f < library.fileCount(); ++f) {
            if (f != current) {
                files.push_back(f);
            }
        }
    }
    const std::vector<std::pair<int, int>> categories = matchingCategories(library, files, choice.category);
    if (choice.preset) {
        const std::vector<Place> places = matchingPresets(library, categories, *choice.preset);
        if (!places.empty()) {
            const Place place = onePlace(library, places, *choice.preset, current);
            // The preset itself was read whole; the rest of its file may not have been.
            warn(library.file(place.file).damage());
            return store(block, library.file(place.file), place.category, place.preset);
        }
    } else {
        for (const auto& [f, c] : categories) {
            if (library.file(f).presetCount(c) > 0) {
                warn(library.file(f).damage());
                return store(block, library.file(f), c, 0);
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
    const std::string where =
        (choice.file ? " in '" + library.file(files[0]).name() + "'" : std::string(" in the library")) + unread;
    if (choice.category && categories.empty()) {
        std::vector<std::string> names;
        for (const auto& [f, c] : matchingCategories(library, files, std::nullopt)) {
            names.push_back(vxToUtf8(library.file(f).categoryName(c)));
        }
        throw JobError("no category named '" + *choice.category + "'" + where + didYouMean(*choice.category, names));
    }
    if (choice.preset) {
        std::vector<std::string> names;
        for (const auto& [f, c] : categories) {
            for (int p = 0; p < library.file(f).presetCount(c); ++p) {
                names.push_back(vxToUtf8(library.file(f).presetName(c, p)));
            }
        }
        throw JobError("no preset named '" + *choice.preset + "'" +
                       (choice.category ? " in category '" + *choice.category + "'" : std::string()) + where +
                       didYouMean(*choice.preset, names));
    }
    throw JobError("no presets" + (choice.category ? " in category '" + *choice.category + "'" : std::string()) +
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
        } catch (const JobError&) {
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

} // namespace morvessan::job
