// PresetFile: one preset text file of the library in memory: its ordered
// categories of presets, the operations the dialogs perform on them, and its
// loading, saving (with a one-time backup) and renaming on disk.
#pragma once

#include "presets/PresetCategory.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace morvessan {

class PresetLibrary;

class PresetFile {
public:
    // A new file: empty name and path, one empty category "Default", no backup
    // taken yet. A file made by a library takes its folders from the library;
    // a file on its own uses setTexturesFolder().
    explicit PresetFile(PresetLibrary* library = nullptr);
    PresetFile(const PresetFile&) = delete;
    PresetFile& operator=(const PresetFile&) = delete;

    // --- Read access (indices are 0-based and must be valid; out-of-range
    // indices throw std::out_of_range rather than touch memory they do not own).
    const std::string& name() const { return m_name; }
    const std::string& path() const { return m_path; }
    int categoryCount() const { return static_cast<int>(m_categories.size()); }
    PresetCategory& category(int index) { return m_categories.at(static_cast<std::size_t>(index)); }
    const PresetCategory& category(int index) const { return m_categories.at(static_cast<std::size_t>(index)); }
    const std::string& categoryName(int index) const { return category(index).name; }
    int presetCount(int category) const;
    const std::string& presetName(int category, int index) const { return preset(category, index).name; }
    TexturePreset& preset(int category, int index);
    const TexturePreset& preset(int category, int index) const;
    const std::vector<PresetCategory>& categories() const { return m_categories; }

    // Stores `path` and takes the name from it: the file name without folder and
    // extension ("C:\\P\\My Stones.txt" gives "My Stones").
    void setPath(const std::string& path);

    // --- Categories.
    // Appends an empty category; the name is not checked (see isCategoryNameFree).
    void addCategory(const std::string& name);
    // False, after showing "That name is already used by another category", when
    // a category of this file has exactly this name (letter case counts); false
    // with its own message when the name cannot be stored (both kinds of quote,
    // or a line break).
    bool isCategoryNameFree(const std::string& name) const;
    // Renames after isCategoryNameFree; the category's own unchanged name is
    // accepted without a message.
    bool renameCategory(int category, const std::string& name);
    void deleteCategory(int category);
    // Moves a category, name and presets, to `target` (which may be this file)
    // before the category at `position` counted after the removal; a position
    // equal to the target's count appends.
    void moveCategory(int category, PresetFile& target, int position);

    // --- Presets.
    // Appends an independent copy of `preset` named `name`; no name check.
    void addPreset(const TextureFields& preset, int category, const std::string& name);
    // As isCategoryNameFree, within one category, with
    // "That name is already used by another preset".
    bool isPresetNameFree(int category, const std::string& name) const;
    bool renamePreset(int category, int index, const std::string& name);
    void deletePreset(int category, int index);
    // Moves a preset to category `targetCategory` of `target` (which may be this
    // file and category) before the preset at `position` counted after the
    // removal; equal to the count appends. No name check.
    void movePreset(int category, int index, PresetFile& target, int targetCategory, int position);

    // --- Disk.
    // Reads the file at path(). False when there is no such file or it cannot be
    // read (a folder, a pipe, no access, too large): the categories are then
    // unchanged, and a file that exists but cannot be read is marked as damaged,
    // never taken for a missing one. Otherwise the categories are replaced by
    // those read, which may be none, and the file is damaged when reading stopped
    // before the end of its text.
    bool load();
    // The same from a stream or from text in memory (tests, checks, fuzzing).
    void loadFrom(std::istream& in);
    void loadText(std::string_view text);

    // Writes every category and preset to path(). A damaged file is never saved:
    // save() shows why (and the file on disk keeps every preset it holds). The
    // whole save holds the file's lock (VXFileLock), and the file is only replaced
    // while it still holds the text that was read: a file another program changed
    // or removed meanwhile is refused with a message (changedOnDisk()), so that no
    // preset of theirs is lost. The first save of this object's life first writes
    // the text as it was read to the same title with ".bak" (a failed backup is
    // ignored and not tried again; a link of that name is replaced, never
    // followed). The new text replaces the old one only once it is written whole;
    // a file that was not read from disk is only created, never written over one
    // that is there. On any failure the old file stays as it was and false is
    // returned, with the reason in saveError().
    bool save();
    // Makes this file a copy in `folder` (with a trailing separator): the next
    // save creates it there, as a new file, and the file it was read from is
    // never written. Used to keep a shared, read-only file as it is.
    void copyInto(const std::string& folder);
    // The one-time backup alone (as the first save takes it).
    void takeBackup();
    // True after a save refused because the file on disk is no longer the one read.
    bool changedOnDisk() const { return m_changed_on_disk; }
    // Whether the file on disk still holds the text this object read or saved last
    // (true for a file that was never on disk). Hold the file's lock to rely on it.
    bool unchangedOnDisk() const;
    // Why the last save failed: one line naming the file; empty after a success.
    const std::string& saveError() const { return m_save_error; }
    // The text that save() writes.
    std::string text() const;

    // Renames the file on disk to newName + ".txt" in the presets folder, after
    // the library's validateFileName (which shows its own message). A failed
    // move (no file yet, the target exists, no access) returns false without a
    // message. The unchanged name is accepted as it is.
    bool renameFile(const std::string& newName);

    bool backupDone() const { return m_backup_done; }
    // False while the file is damaged: until the next load that reads it whole.
    bool readWhole() const { return m_damage.empty(); }
    // Why the file is damaged, one line naming it (where reading stopped and why,
    // or why it could not be read); empty when it was read whole.
    const std::string& damage() const { return m_damage; }

    // The folder that texture file names in the text are relative to: the
    // library's, or the one set on a file that has no library.
    std::string texturesFolder() const;
    void setTexturesFolder(std::string folder) { m_textures_folder = std::move(folder); }

    PresetLibrary* library() const { return m_library; }

private:
    PresetLibrary* m_library;
    std::string m_name;
    std::string m_path;
    std::vector<PresetCategory> m_categories;
    bool m_backup_done = false;
    bool m_on_disk = false; // read from disk or saved there: save() may replace it
    bool m_changed_on_disk = false;
    std::string m_disk_text; // the file's text as last read or saved
    std::string m_damage;
    std::string m_save_error;
    std::string m_textures_folder;
};

// Shows the message for a name that cannot be stored and returns false, or
// returns true for a name that can.
bool checkWritableName(const std::string& name);

} // namespace morvessan
