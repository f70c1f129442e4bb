// What the preset dialogs do, without their windows: Add Preset, the Manage
// Presets commands (add, delete, rename, drag and drop, OK, Cancel), mailing a
// preset file and opening the more-presets page.
#pragma once

#include "presets/PresetLibrary.h"

#include <cstdint>
#include <string>

namespace morvessan {

// "Preset %d" with the smallest n >= 1 that no preset of the category has
// exactly; "Preset 1" for an empty or missing category.
std::string proposePresetName(const PresetFile& file, int category);

// Add Preset: stores a copy of `texture` (the head of the parameter block)
// named `name` (clashes are not checked) at the end of `category` and saves the
// file at once (a failed save is not reported). A file without categories gets
// a "Default" category first; an index out of range means the first category.
// Returns the category used, or -1 when the name cannot be stored (its message
// has been shown) and nothing changed.
int addPresetFromTexture(PresetFile& file, int category, const TextureFields& texture, const std::string& name);

// One try of the Manage Presets name dialogs: true when the name was accepted
// and the file or category added; otherwise the check's message has been shown.
bool addPresetFileNamed(PresetLibrary& library, const std::string& name);
bool addCategoryNamed(PresetFile& file, const std::string& name);

// An entry of the Manage Presets tree: a file, a category of a file, or a preset
// of a category.
struct PresetTreeItem {
    enum class Level { File, Category, Preset };
    Level level = Level::File;
    int file = 0;
    int category = -1;
    int preset = -1;

    bool operator==(const PresetTreeItem&) const = default;
};

// Delete: a file (refused with "You cannot delete the last preset file." when it
// is the only one; otherwise deletePresetFile with its question), a category
// (refused with "You cannot delete the last preset category." when it is its
// file's only one; otherwise its presets join the end of the previous category,
// or of the second one for the first, and it is removed, without asking), or a
// preset (removed without asking). True when something was removed.
bool deleteTreeItem(PresetLibrary& library, const PresetTreeItem& item);

// In-place rename by level; true when the new name was taken (each refusal has
// shown its message, except a failed file move).
bool renameTreeItem(PresetLibrary& library, const PresetTreeItem& item, const std::string& name);

// Whether `target` takes a drop of `dragged`: files are not dragged, an item is
// not dropped on itself, and a category is not dropped on a preset.
bool canDropTreeItem(const PresetTreeItem& dragged, const PresetTreeItem& target);

// Drag and drop:
//   category on file      moves it to the front of that file
//   category on category  moves it to the target's index in the target's file
//   preset on file        moves it to the front of that file's first category
//   preset on category    moves it to the front of that category
//   preset on preset      moves it to the target's index in the target's category
// Positions count after the dragged entry is taken out. A preset dropped on a
// file without categories gets a "Default" category made for it. True when
// something moved.
bool dropTreeItem(PresetLibrary& library, const PresetTreeItem& dragged, const PresetTreeItem& target);

// Manage Presets OK: saves every file in library order (results not reported),
// all of them or, when one was changed on disk by another program, none.
void saveAllPresetFiles(PresetLibrary& library);
// Manage Presets Cancel: reloads every file from disk; a file that cannot be
// read (new and never saved) keeps what it holds.
void reloadAllPresetFiles(PresetLibrary& library);

// The Submit Preset File dialog's two filled lines.
std::string submitDescriptionLine(const PresetFile& file);
std::string submitLocationLine(const PresetFile& file);

// Mails the file to the submissions address through the platform's mail
// program (recipient "SMTP: Submissions", the file attached as name + ".txt",
// subject "Morvessan Preset Submission"), with the wait cursor showing, then
// reports the result in a message box. Returns the mail system's code.
std::uint32_t submitPresetFile(const PresetFile& file);

// Download: opens the more-presets page in the user's browser.
bool openMorePresetsPage();

} // namespace morvessan
