// Adding a preset to the user's library as "Add Preset" does, for every front end:
// the file locked while it changes, a missing file or category made, nothing lost.
#pragma once

#include "texture/FilterParameters.h"

#include <string>

namespace morvessan::job {

struct PresetAddRequest {
    std::string presetsDir;  // the library's own folder
    std::string texturesDir; // texture pictures named without a folder
    bool makeFolder = false; // an installed program's own folder is made on its first write
    std::string file;        // preset file name, without ".txt"
    std::string category;
    std::string name;
};

struct AddedPreset {
    std::string file; // as the library names it
    std::string category;
    std::string name;
    std::string path;
};

// Adds the texture of `block` as a new preset. The file stays locked from reading it
// to replacing it, so that another add waits and then reads this one's preset; a
// writer that takes no lock is noticed at the save and the add is done again on
// what it wrote. A JobError, and the file as it was, when the name is taken or
// cannot be stored, or the file cannot be read whole or written.
AddedPreset addPreset(const PresetAddRequest& request, const FilterParameters& block);

} // namespace morvessan::job
