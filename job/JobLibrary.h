// The preset library as the command line uses it: loading a folder, choosing a
// preset by file, category and name, and applying it to a parameter block.
#pragma once

#include "presets/PresetLibrary.h"
#include "texture/FilterParameters.h"

#include <optional>
#include <string>

namespace morvessan::job {

struct PresetChoice {
    std::optional<std::string> file;
    std::optional<std::string> category;
    std::optional<std::string> preset;

    bool any() const { return file || category || preset; }
};

// Rebuilds `library` from the two folders (the fallback file when none is found);
// the program's own presets folder brings the shared ones of an install with it.
void loadLibrary(PresetLibrary& library, const std::string& presetsDir, const std::string& texturesDir,
                 const TextureFields& current);
// Whether any file of the library exists on disk (the fallback does not).
bool libraryOnDisk(const PresetLibrary& library);
// Index of the file named `name`: exactly, else the one file that differs only in
// letter case; -1 when there is none or several.
int findFile(const PresetLibrary& library, const std::string& name);
// The file `name` as findFile finds it, or a JobError that says why not: the file
// cannot be read, several differ only in case, or none is near (with the nearest names).
int chooseFile(const PresetLibrary& library, const std::string& name);

// Applies the chosen preset to the block, as choosing it in the dialog does: the
// texture, the file name and the category index. Returns "'Preset' from File".
std::string applyChoice(FilterParameters& block, PresetLibrary& library, const PresetChoice& choice);
// Applies the library's showcase preset; empty when the library has none on disk.
std::string applyShowcase(FilterParameters& block, PresetLibrary& library);

} // namespace morvessan::job
