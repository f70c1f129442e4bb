// PresetFile: category and preset operations with their name checks, and the
// file's loading, saving and renaming on disk.
#include "presets/PresetFile.h"

#include "presets/PresetDiskFile.h"
#include "presets/PresetLibrary.h"
#include "presets/PresetMessages.h"
#include "presets/PresetText.h"
#include "VXLib/VXUTIL/VXFileLock.h"
#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/VXWholeFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace morvessan {

namespace {

template <typename T>
typename std::vector<T>::iterator at(std::vector<T>& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) {
        throw std::out_of_range("preset list index");
    }
    return list.begin() + index;
}

// Insertion place for a position counted after a removal; a position beyond the
// end appends.
template <typename T>
typename std::vector<T>::iterator insertionPoint(std::vector<T>& list, int position) {
    const std::size_t p = position < 0 ? 0 : static_cast<std::size_t>(position);
    return list.begin() + static_cast<std::ptrdiff_t>(std::min(p, list.size()));
}

} // namespace

bool checkWritableName(const std::string& name) {
    if (name.find_first_of("\r\n") != std::string::npos) {
        showPresetMessage(kNameWithLineBreak);
        return false;
    }
    if (!isWritableName(name)) {
        showPresetMessage(kNameWithBothQuotes);
        return false;
    }
    return true;
}

PresetFile::PresetFile(PresetLibrary* library) : m_library(library) {
    m_categories.push_back(PresetCategory{"Default", {}});
}

int PresetFile::presetCount(int category) const { return static_cast<int>(this->category(category).presets.size()); }

TexturePreset& PresetFile::preset(int category, int index) { return *at(this->category(category).presets, index); }

const TexturePreset& PresetFile::preset(int category, int index) const {
    return const_cast<PresetFile*>(this)->preset(category, index);
}

void PresetFile::setPath(const std::string& path) {
    m_path = path;
    m_name = titleOf(path);
}

void PresetFile::copyInto(const std::string& folder) {
    setPath(folder + m_name + ".txt");
    // Nothing of the new file is on disk yet: no backup to take, and the save
    // only creates it, so a file someone put there meanwhile is never written over.
    m_on_disk = false;
    m_disk_text.clear();
    m_backup_done = true;
}

std::string PresetFile::texturesFolder() const { return m_library ? m_library->texturesFolder() : m_textures_folder; }

// ---------------------------------------------------------------- categories

void PresetFile::addCategory(const std::string& name) { m_categories.push_back(PresetCategory{name, {}}); }

bool PresetFile::isCategoryNameFree(const std::string& name) const {
    for (const PresetCategory& c : m_categories) {
        if (c.name == name) {
            showPresetMessage(kCategoryNameUsed);
            return false;
        }
    }
    return checkWritableName(name);
}

bool PresetFile::renameCategory(int category, const std::string& name) {
    PresetCategory& c = this->category(category);
    if (c.name == name) {
        return true;
    }
    if (!isCategoryNameFree(name)) {
        return false;
    }
    c.name = name;
    return true;
}

void PresetFile::deleteCategory(int category) { m_categories.erase(at(m_categories, category)); }

void PresetFile::moveCategory(int category, PresetFile& target, int position) {
    auto from = at(m_categories, category);
    PresetCategory moved = std::move(*from);
    m_categories.erase(from);
    target.m_categories.insert(insertionPoint(target.m_categories, position), std::move(moved));
}

// ------------------------------------------------------------------- presets

void PresetFile::addPreset(const TextureFields& preset, int category, const std::string& name) {
    TexturePreset copy;
    copy.fields() = preset;
    copy.name = name;
    this->category(category).presets.push_back(std::move(copy));
}

bool PresetFile::isPresetNameFree(int category, const std::string& name) const {
    for (const TexturePreset& p : this->category(category).presets) {
        if (p.name == name) {
            showPresetMessage(kPresetNameUsed);
            return false;
        }
    }
    return checkWritableName(name);
}

bool PresetFile::renamePreset(int category, int index, const std::string& name) {
    TexturePreset& p = preset(category, index);
    if (p.name == name) {
        return true;
    }
    if (!isPresetNameFree(category, name)) {
        return false;
    }
    p.name = name;
    return true;
}

void PresetFile::deletePreset(int category, int index) {
    auto& presets = this->category(category).presets;
    presets.erase(at(presets, index));
}

void PresetFile::movePreset(int category, int index, PresetFile& target, int targetCategory, int position) {
    auto& source = this->category(category).presets;
    target.category(targetCategory); // a bad target throws before anything is removed
    auto from = at(source, index);
    TexturePreset moved = *from;
    source.erase(from);
    auto& destination = target.category(targetCategory).presets;
    destination.insert(insertionPoint(destination, position), std::move(moved));
}

// ---------------------------------------------------------------------- disk

bool PresetFile::load() {
    FileText file = readWholeFile(m_path);
    if (!file.opened) {
        if (!file.missing) {
            m_damage = file.error;
        }
        return false;
    }
    loadText(file.text);
    m_disk_text = std::move(file.text);
    m_on_disk = true;
    return true;
}

void PresetFile::loadFrom(std::istream& in) {
    FileText file = readWholeStream(in);
    loadText(file.text);
    if (!file.complete) {
        m_damage = "'" + m_path + "' was not read whole: " + file.error;
    }
}

void PresetFile::loadText(std::string_view text) {
    PresetReadStop stop;
    m_categories = readPresetText(text, texturesFolder(), &stop);
    m_damage = stop.whole() ? std::string() : "'" + m_path + "' was not read whole: " + stop.describe();
}

std::string PresetFile::text() const { return writePresetText(m_categories, texturesFolder()); }

void PresetFile::takeBackup() {
    if (m_backup_done) {
        return;
    }
    m_backup_done = true;
    // The text this object was read from: a file that appeared or changed meanwhile
    // is no earlier state of this one. Written as our own file, never through a link.
    if (m_on_disk) {
        std::string ignored;
        vxReplaceFile(replaceExtension(m_path, ".bak"), m_disk_text, ignored, VXReplaceMode::ReplaceName, m_path);
    }
}

bool PresetFile::unchangedOnDisk() const {
    if (!m_on_disk) {
        return true;
    }
    const VXFileBytes now = vxReadWholeFile(m_path, kMaxPresetFileBytes);
    return now.status == VXReadStatus::Read && now.bytes == m_disk_text;
}

bool PresetFile::save() {
    m_save_error.clear();
    // A file known only in part must not replace the whole one on disk.
    if (!m_damage.empty()) {
        m_save_error = m_damage + "; it is not saved, so that the presets it holds on disk are kept";
        showPresetMessage(std::string(kFileNotSaved) + m_damage);
        return false;
    }
    m_changed_on_disk = false;
    VXFileLock lock;
    std::error_code missing;
    const std::string folder = folderOf(m_path).empty() ? std::string(".") : folderOf(m_path);
    // Without its folder the file cannot be written at all; the replacement says so.
    if (std::filesystem::is_directory(folder, missing) && !lock.lock(m_path)) {
        m_save_error = lock.error();
        return false;
    }
    if (m_on_disk) {
        const VXFileBytes now = vxReadWholeFile(m_path, kMaxPresetFileBytes);
        if (now.status != VXReadStatus::Read || now.bytes != m_disk_text) {
            m_changed_on_disk = true;
            m_save_error = "'" + m_path + "' was " + (now.status == VXReadStatus::Missing ? "removed" : "changed") +
                           " by another program since it was read; nothing was saved (read it again and retry)";
            showPresetMessage(std::string(kFileChanged) + m_path);
            return false;
        }
    }
    takeBackup();
    std::string written = text();
    if (!vxReplaceFile(m_path, written, m_save_error, m_on_disk ? VXReplaceMode::Replace : VXReplaceMode::CreateOnly)) {
        return false;
    }
    m_disk_text = std::move(written);
    m_on_disk = true;
    return true;
}

bool PresetFile::renameFile(const std::string& newName) {
    if (newName == m_name) {
        return true;
    }
    const bool valid =
        m_library ? m_library->validateFileName(newName, this) : PresetLibrary::validateFileNameCharacters(newName);
    if (!valid) {
        return false;
    }
    const std::string folder = m_library ? m_library->presetsFolder() : folderOf(m_path);
    const std::string target = folder + newName + ".txt";

    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path from(m_path);
    const fs::path to(target);
    if (!fs::is_regular_file(from, error)) {
        return false;
    }
    // POSIX rename replaces an existing target; a preset file is never replaced
    // by a rename (only a case change of the same file passes).
    if (fs::exists(to, error) && !fs::equivalent(from, to, error)) {
        return false;
    }
    fs::rename(from, to, error);
    if (error) {
        return false;
    }
    setPath(target);
    return true;
}

} // namespace morvessan
