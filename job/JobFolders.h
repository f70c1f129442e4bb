// Where the command line finds presets and texture pictures: beside the program
// (a build, an unpacked package) or under share/ of the prefix it is installed in.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace morvessan::job {

// Names under share/ of an installed prefix.
inline constexpr const char* kSharedDataFolder = "share/morvessan";

struct JobFolders {
    std::string presets;                    // the library's own folder: new files go here
    std::string textures;                   // texture pictures named without a folder
    std::vector<std::string> sharedPresets; // read beside the own folder, never written
};

// The folders of the program at `programPath`: "Morvessan Presets" and "Morvessan
// Textures" beside it when they are there (as beside the plug-in module);
// otherwise, when the program is installed (PREFIX/bin with PREFIX/share/morvessan/
// presets), the shipped presets are shared and the user's own go to
// $XDG_DATA_HOME/morvessan (~/.local/share/morvessan without it), so an install is
// found wherever its prefix is moved and never written into. `environment` reads a
// variable ("" when unset).
JobFolders programFolders(const std::string& programPath, const std::function<std::string(const char*)>& environment);

// The folders of this program, from its own path and environment.
const JobFolders& ownFolders();
inline std::string defaultPresetsDir() { return ownFolders().presets; }
inline std::string defaultTexturesDir() { return ownFolders().textures; }

// The folders a library with `presetsDir` as its own folder reads: that folder,
// and the shared ones when it is this program's own.
std::vector<std::string> presetFoldersFor(const std::string& presetsDir);

} // namespace morvessan::job
