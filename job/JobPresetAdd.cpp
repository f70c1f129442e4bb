// Adding a preset to the user's library: the lock, the retries when another writer
// changed the file, and the refusals that leave it as it was.
#include "job/JobPresetAdd.h"

#include "VXLib/VXUTIL/VXFileLock.h"
#include "VXLib/VXUTIL/VXPath.h"
#include "job/JobError.h"
#include "job/JobLibrary.h"
#include "job/JobPlatform.h"
#include "presets/PresetDiskFile.h"
#include "presets/PresetFile.h"
#include "presets/PresetLibrary.h"
#include "VXLib/VXUTIL/VXAsciiCase.h"

#include <filesystem>
#include <mutex>

namespace morvessan::job {

namespace {

// One attempt at adding the preset: nothing when the file changed on disk between
// reading and saving (another program that does not take the lock), to be tried again.
std::optional<AddedPreset> addOnce(const PresetAddRequest& request, const FilterParameters& block) {
    PresetLibrary library;
    loadLibrary(library, request.presetsDir, request.texturesDir, block.texture);
    // A file that is there but cannot be read is never taken for a missing one.
    for (const UnreadablePresetFile& unreadable : library.unreadableFiles()) {
        if (equalsIgnoreCase(unreadable.name, request.file)) {
            throw JobError(unreadable.error + "; nothing was added");
        }
    }
    int fileIndex = findFile(library, request.file);
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
        if (!library.validateFileName(request.file)) {
            throw JobError(withPlatformMessage("cannot add a preset file named '" + request.file + "'"));
        }
        library.newPresetFile(request.file);
        fileIndex = library.fileCount() - 1;
    }
    PresetFile& file = library.file(fileIndex);
    if (library.isSharedFile(file)) {
        // A file of the installation is copied into the user's folder with the
        // new preset; the installed one stays as it was shipped.
        file.copyInto(library.presetsFolder());
    }
    int category = -1;
    for (int c = 0; c < file.categoryCount(); ++c) {
        if (file.categoryName(c) == request.category) {
            category = c;
            break;
        }
    }
    if (category < 0) {
        if (!file.isCategoryNameFree(request.category)) {
            throw JobError(withPlatformMessage("cannot add a category named '" + request.category + "'"));
        }
        file.addCategory(request.category);
        category = file.categoryCount() - 1;
    }
    // A second preset of one name could never be chosen by that name.
    if (!file.isPresetNameFree(category, request.name)) {
        throw JobError(withPlatformMessage("cannot add a preset named '" + request.name + "' to " + file.name() +
                                           " / " + request.category));
    }
    file.addPreset(presetFromBlock(block), category, request.name);
    if (!file.save()) {
        // The reason is the one line; the message box text says the same at length.
        takePlatformMessage();
        if (file.changedOnDisk()) {
            return std::nullopt;
        }
        throw JobError(file.saveError());
    }
    return AddedPreset{file.name(), request.category, request.name, file.path()};
}

} // namespace

AddedPreset addPreset(const PresetAddRequest& request, const FilterParameters& block) {
    if (!checkWritableName(request.name)) {
        throw JobError(withPlatformMessage("cannot store a preset named '" + request.name + "'"));
    }
    const std::string path = asFolder(request.presetsDir) + request.file + ".txt";
    if (request.makeFolder) {
        std::error_code made;
        std::filesystem::create_directories(request.presetsDir, made);
        if (made) {
            throw JobError("cannot make the presets folder '" + request.presetsDir + "': " + made.message() +
                           "; nothing was added");
        }
    }
    // The file lock keeps other programs out, but not this one's other threads (the
    // system's locks belong to the process): they take turns here.
    static std::mutex adds;
    const std::lock_guard<std::mutex> turn(adds);
    constexpr int kAttempts = 5;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        VXFileLock lock;
        std::error_code ec;
        // Without the folder or with a name that cannot be a file's, the add fails
        // below with its own reason.
        const bool lockable = std::filesystem::is_directory(request.presetsDir, ec) &&
                              PresetLibrary::validateFileNameCharacters(request.file);
        if (lockable && !lock.lock(path)) {
            throw JobError(lock.error() + "; nothing was added");
        }
        takePlatformMessage();
        if (auto added = addOnce(request, block)) {
            return *added;
        }
    }
    throw JobError("'" + path + "' kept changing while the preset was added; nothing was added");
}

} // namespace morvessan::job
