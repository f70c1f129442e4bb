// PresetLibrary: the ordered preset files of the presets folder beside the
// module, rebuilt from disk at every showing of the dialog, and the file-level
// operations: discovery, name checks, creation and deletion.
#pragma once

#include "presets/PresetFile.h"
#include "texture/FilterParameters.h"

#include <memory>
#include <string>
#include <vector>

namespace morvessan {

// Folder names beside the module, each with a trailing separator.
inline constexpr const char* kPresetsFolderName = "Morvessan Presets";
inline constexpr const char* kTexturesFolderName = "Morvessan Textures";

// The folder of `modulePath` followed by "Morvessan Presets" and a separator.
std::string presetsFolderOfModule(const std::string& modulePath);
// The folder of `modulePath` followed by "Morvessan Textures" and a separator.
std::string texturesFolderOfModule(const std::string& modulePath);

// A "*.txt" entry of the presets folder that exists but could not be read.
struct UnreadablePresetFile {
    std::string name;  // file name without folder and extension
    std::string error; // one line naming the file and the cause
};

class PresetLibrary {
public:
    PresetLibrary() = default;
    // Files point back at their library, so it stays where it was made.
    PresetLibrary(const PresetLibrary&) = delete;
    PresetLibrary& operator=(const PresetLibrary&) = delete;

    int fileCount() const { return static_cast<int>(m_files.size()); }
    // Valid indices only (others throw std::out_of_range).
    PresetFile& file(int index) { return *m_files.at(static_cast<std::size_t>(index)); }
    const PresetFile& file(int index) const { return *m_files.at(static_cast<std::size_t>(index)); }
    // Index of `file` in the library, or -1.
    int indexOf(const PresetFile& file) const;

    // Full path of the presets folder, with its trailing separator.
    const std::string& presetsFolder() const { return m_presets_folder; }
    // Texture file names in preset text are relative to this folder.
    const std::string& texturesFolder() const { return m_textures_folder; }
    void setTexturesFolder(std::string folder) { m_textures_folder = std::move(folder); }

    // The file the main dialog shows: 0 at first, set from the parameter block
    // by selectCurrentFile, changed by the file picker (which clamps it).
    int currentFileIndex() const { return m_current_file_index; }
    void setCurrentFileIndex(int index) { m_current_file_index = index; }

    // Rebuilds the library from the presets folder beside the module
    // (vxPlatform().modulePath()); the textures folder is set beside it too.
    void discoverPresetFiles(const TextureFields& current);
    // Rebuilds the library from `folder` (a separator is added when missing):
    // every "*.txt" entry (extension in any letter case), in byte order of the
    // names, that can be opened becomes a file, even one with no category. When
    // none can, the library holds one unsaved file "Default" whose category
    // "Default" holds `current` named "Default". The folder is never created.
    // Entries that exist but cannot be read are listed in unreadableFiles().
    void discoverPresetFilesIn(const std::string& folder, const TextureFields& current);
    // The same over several folders: the first is the library's own (new files
    // go there), the others are read beside it, like a system-wide share beside a
    // user's folder. A file name found in an earlier folder hides the same name
    // (in any letter case) in later ones; the files are listed in byte order of
    // their names whatever folder they come from.
    void discoverPresetFilesIn(const std::vector<std::string>& folders, const TextureFields& current);
    // The preset file a block names after a run that shows no dialog, from the
    // folder's listing alone, reading no file (a large library costs nothing):
    // `stored` when the folder holds a file of that name, else the first in the
    // library's order, else "Default". The folder becomes the library's own folder;
    // the files read by an earlier rebuild stay as they were.
    std::string fileNameWithoutReading(const std::string& folder, const std::string& stored);
    // True when `file` lies outside the library's own folder (a shared file).
    bool isSharedFile(const PresetFile& file) const;
    const std::vector<UnreadablePresetFile>& unreadableFiles() const { return m_unreadable; }

    // Makes the first file named exactly `fileName` current; false, leaving the
    // index as it was, when there is none.
    bool selectCurrentFile(const std::string& fileName);
    // The same with the file name stored in the parameter block.
    bool selectCurrentFile(const FilterParameters& block);
    // Stores the current file's name in the block, cut to 259 characters; an
    // index out of range stores an empty name.
    void storeCurrentFileName(FilterParameters& block) const;

    // True when `name` may name a new file, or the file `renaming`. Refused, each
    // with its message box: a name another file has, also when only letter case
    // differs ("That name is already used by another preset file", since such
    // names address one file on some file systems), and the name of a file on
    // disk that could not be read; a name with any of
    // / \ : * ? " < > | or a full stop (the two-line character message). An
    // empty name passes.
    bool validateFileName(const std::string& name, const PresetFile* renaming = nullptr) const;
    // The character rule of validateFileName alone.
    static bool validateFileNameCharacters(const std::string& name);

    // Appends a new file named `name` in the presets folder (one empty category
    // "Default"); nothing is written until its first save. Validate first.
    PresetFile& newPresetFile(const std::string& name);

    // Asks "Deleting this preset file will result in perminant loss ..." with
    // OK and Cancel; on OK saves the file (taking its backup; a damaged file is
    // only backed up), deletes it from disk (a failure is ignored) and removes it
    // from the library. A file that another program changed since it was read is
    // kept, with the save's message. Returns true when it was removed. Callers
    // never pass the last file.
    bool deletePresetFile(int index);

private:
    std::vector<std::unique_ptr<PresetFile>> m_files;
    std::vector<UnreadablePresetFile> m_unreadable;
    std::string m_presets_folder;
    std::string m_textures_folder;
    int m_current_file_index = 0;
};

} // namespace morvessan
