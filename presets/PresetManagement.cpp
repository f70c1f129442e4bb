// The preset dialogs' operations on the library: name proposals, Add Preset,
// delete, rename, drag and drop, OK and Cancel, mail and the web page.
#include "presets/PresetManagement.h"

#include "presets/PresetContacts.h"
#include "presets/PresetMessages.h"
#include "VXLib/VXUTIL/VXFileLock.h"
#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/VXPlatform.h"

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace morvessan {

namespace {

bool validCategory(const PresetFile& file, int category) { return category >= 0 && category < file.categoryCount(); }

// The category a preset lands in when the one asked for does not exist.
int ensureCategory(PresetFile& file, int category) {
    if (file.categoryCount() == 0) {
        file.addCategory("Default");
        return 0;
    }
    return validCategory(file, category) ? category : 0;
}

// Fills the placeholders in turn, each search starting after the text already
// put in, so a value that itself holds "%s" is never filled again.
std::string fillPlaceholders(std::string text, const std::string& placeholder,
                             std::initializer_list<std::string> values) {
    std::size_t from = 0;
    for (const std::string& value : values) {
        const auto at = text.find(placeholder, from);
        if (at == std::string::npos) {
            break;
        }
        text.replace(at, placeholder.size(), value);
        from = at + value.size();
    }
    return text;
}

std::string replaceFirst(const std::string& text, const std::string& placeholder, const std::string& value) {
    return fillPlaceholders(text, placeholder, {value});
}

} // namespace

std::string proposePresetName(const PresetFile& file, int category) {
    for (int n = 1;; ++n) {
        const std::string name = "Preset " + std::to_string(n);
        bool used = false;
        if (validCategory(file, category)) {
            for (const TexturePreset& p : file.category(category).presets) {
                if (p.name == name) {
                    used = true;
                    break;
                }
            }
        }
        if (!used) {
            return name;
        }
    }
}

int addPresetFromTexture(PresetFile& file, int category, const TextureFields& texture, const std::string& name) {
    if (!checkWritableName(name)) {
        return -1;
    }
    const int target = ensureCategory(file, category);
    file.addPreset(texture, target, name);
    file.save();
    return target;
}

bool addPresetFileNamed(PresetLibrary& library, const std::string& name) {
    if (!library.validateFileName(name)) {
        return false;
    }
    library.newPresetFile(name);
    return true;
}

bool addCategoryNamed(PresetFile& file, const std::string& name) {
    if (!file.isCategoryNameFree(name)) {
        return false;
    }
    file.addCategory(name);
    return true;
}

bool deleteTreeItem(PresetLibrary& library, const PresetTreeItem& item) {
    switch (item.level) {
    case PresetTreeItem::Level::File:
        if (library.fileCount() == 1) {
            showPresetMessage(kLastFile);
            return false;
        }
        return library.deletePresetFile(item.file);
    case PresetTreeItem::Level::Category: {
        PresetFile& file = library.file(item.file);
        if (file.categoryCount() == 1) {
            showPresetMessage(kLastCategory);
            return false;
        }
        const int neighbour = item.category == 0 ? 1 : item.category - 1;
        auto& from = file.category(item.category).presets;
        auto& to = file.category(neighbour).presets;
        to.insert(to.end(), from.begin(), from.end());
        file.deleteCategory(item.category);
        return true;
    }
    case PresetTreeItem::Level::Preset: library.file(item.file).deletePreset(item.category, item.preset); return true;
    }
    return false;
}

bool renameTreeItem(PresetLibrary& library, const PresetTreeItem& item, const std::string& name) {
    PresetFile& file = library.file(item.file);
    switch (item.level) {
    case PresetTreeItem::Level::File: return file.renameFile(name);
    case PresetTreeItem::Level::Category: return file.renameCategory(item.category, name);
    case PresetTreeItem::Level::Preset: return file.renamePreset(item.category, item.preset, name);
    }
    return false;
}

bool canDropTreeItem(const PresetTreeItem& dragged, const PresetTreeItem& target) {
    if (dragged.level == PresetTreeItem::Level::File || dragged == target) {
        return false;
    }
    return !(dragged.level == PresetTreeItem::Level::Category && target.level == PresetTreeItem::Level::Preset);
}

bool dropTreeItem(PresetLibrary& library, const PresetTreeItem& dragged, const PresetTreeItem& target) {
    if (!canDropTreeItem(dragged, target)) {
        return false;
    }
    PresetFile& source = library.file(dragged.file);
    PresetFile& destination = library.file(target.file);
    if (dragged.level == PresetTreeItem::Level::Category) {
        const int position = target.level == PresetTreeItem::Level::File ? 0 : target.category;
        source.moveCategory(dragged.category, destination, position);
        return true;
    }
    switch (target.level) {
    case PresetTreeItem::Level::File:
        source.movePreset(dragged.category, dragged.preset, destination, ensureCategory(destination, 0), 0);
        return true;
    case PresetTreeItem::Level::Category:
        source.movePreset(dragged.category, dragged.preset, destination, target.category, 0);
        return true;
    case PresetTreeItem::Level::Preset:
        source.movePreset(dragged.category, dragged.preset, destination, target.category, target.preset);
        return true;
    }
    return false;
}

void saveAllPresetFiles(PresetLibrary& library) {
    // Presets moved between files are saved together or not at all: with every file
    // locked (in the order of their paths, as any other saver takes them), one that
    // another program changed since it was read stops the whole save, so that a
    // preset is never saved out of one file while the file it moved to is refused.
    std::vector<int> order;
    for (int i = 0; i < library.fileCount(); ++i) {
        order.push_back(i);
    }
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return library.file(a).path() < library.file(b).path(); });
    std::vector<std::unique_ptr<VXFileLock>> locks;
    for (const int i : order) {
        const PresetFile& file = library.file(i);
        std::error_code missing;
        const std::string folder = folderOf(file.path()).empty() ? std::string(".") : folderOf(file.path());
        if (std::filesystem::is_directory(folder, missing)) {
            locks.push_back(std::make_unique<VXFileLock>());
            locks.back()->lock(file.path());
        }
        if (file.readWhole() && !file.unchangedOnDisk()) {
            showPresetMessage(std::string(kFileChanged) + file.path());
            return;
        }
    }
    for (int i = 0; i < library.fileCount(); ++i) {
        library.file(i).save();
    }
}

void reloadAllPresetFiles(PresetLibrary& library) {
    for (int i = 0; i < library.fileCount(); ++i) {
        library.file(i).load();
    }
}

std::string submitDescriptionLine(const PresetFile& file) {
    return fillPlaceholders(kSubmitDescription, "%s", {file.name(), kSubmissionsAddress});
}

std::string submitLocationLine(const PresetFile& file) { return replaceFirst(kSubmitLocation, "%s", file.path()); }

std::uint32_t submitPresetFile(const PresetFile& file) {
    VXPlatform& platform = vxPlatform();
    // The pointer shows the wait cursor until the result has been reported, and
    // comes back however this ends.
    struct RestoreCursor {
        VXPlatform& platform;
        VXCursorHandle previous;
        ~RestoreCursor() { platform.restoreCursor(previous); }
    } restore{platform, platform.currentCursor()};
    platform.showCursor(VXCursorKind::Wait);

    VXMailRequest request;
    request.recipientName = kSubmissionsRecipientName;
    // Simple MAPI resolves an address only with its transport prefix.
    request.recipientAddress = std::string("SMTP:") + kSubmissionsAddress;
    request.subject = kSubmissionSubject;
    request.attachmentPath = file.path();
    request.attachmentName = file.name() + ".txt";
    const std::uint32_t result = platform.sendMail(request);

    if (result == 0) {
        platform.messageBox(kMailSent, kMailSentCaption, VXMessageButtons::Ok, VXMessageIcon::Information);
    } else {
        platform.messageBox(kMailFailed, replaceFirst(kMailErrorCaption, "%d", std::to_string(result)),
                            VXMessageButtons::Ok, VXMessageIcon::Warning);
    }
    return result;
}

bool openMorePresetsPage() { return vxPlatform().openWebPage(kMorePresetsPage); }

} // namespace morvessan
