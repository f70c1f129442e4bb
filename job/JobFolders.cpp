// The program's preset and texture folders, beside it or in an installed prefix.
#include "job/JobFolders.h"

#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/VXPlatform.h"
#include "job/JobPlatform.h"
#include "presets/PresetLibrary.h"

#include <filesystem>
#include <optional>

namespace morvessan::job {

namespace fs = std::filesystem;

namespace {

bool isFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

// The user's data folder as the XDG base directories define it: a relative
// $XDG_DATA_HOME is to be ignored.
std::string userDataFolder(const std::function<std::string(const char*)>& environment) {
    const std::string xdg = environment("XDG_DATA_HOME");
    if (!xdg.empty() && fs::path(xdg).is_absolute()) {
        return (fs::path(xdg) / "morvessan").string();
    }
    const std::string home = environment("HOME");
    if (!home.empty()) {
        return (fs::path(home) / ".local" / "share" / "morvessan").string();
    }
    return {};
}

} // namespace

JobFolders programFolders(const std::string& programPath, const std::function<std::string(const char*)>& environment) {
    JobFolders folders;
    folders.presets = presetsFolderOfModule(programPath);
    folders.textures = texturesFolderOfModule(programPath);
    if (isFolder(folders.presets)) {
        return folders;
    }
    const fs::path shared = fs::path(folderOf(programPath)) / ".." / kSharedDataFolder;
    if (!isFolder(shared / "presets")) {
        return folders;
    }
    const std::string shippedPresets = asFolder(fs::weakly_canonical(shared / "presets").string());
    folders.textures = asFolder(fs::weakly_canonical(shared / "textures").string());
    const std::string user = userDataFolder(environment);
    if (user.empty()) {
        // Without a home the shipped files are the only ones, and read-only.
        folders.presets = shippedPresets;
        return folders;
    }
    folders.presets = asFolder(user);
    folders.sharedPresets.push_back(shippedPresets);
    return folders;
}

const JobFolders& ownFolders() {
    static const JobFolders folders =
        programFolders(programPath(), [](const char* name) { return vxProcessEnvironment(name); });
    return folders;
}

std::vector<std::string> presetFoldersFor(const std::string& presetsDir) {
    std::vector<std::string> folders{presetsDir};
    const JobFolders& own = ownFolders();
    if (asFolder(presetsDir) == own.presets) {
        folders.insert(folders.end(), own.sharedPresets.begin(), own.sharedPresets.end());
    }
    return folders;
}

} // namespace morvessan::job
