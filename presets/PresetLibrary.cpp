// PresetLibrary: discovery of the presets folder, the fallback file, choosing
// the current file, and creating, checking and deleting preset files.
#include "presets/PresetLibrary.h"

#include "presets/PresetMessages.h"
#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/VXPlatform.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace morvessan {

namespace {

const char kForbiddenFileNameCharacters[] = "/\\:*?\"<>|.";

bool hasTxtExtension(const std::string& name) {
    return name.size() >= 4 && equalsIgnoreCase(name.substr(name.size() - 4), ".txt");
}

std::vector<std::string> listTxtEntries(const std::string& folder) {
    std::vector<std::string> names = listFolderNames(folder);
    std::erase_if(names, [](const std::string& name) { return !hasTxtExtension(name); });
    return names;
}

} // namespace

std::string presetsFolderOfModule(const std::string& modulePath) {
    return folderOf(modulePath) + asFolder(kPresetsFolderName);
}

std::string texturesFolderOfModule(const std::string& modulePath) {
    return folderOf(modulePath) + asFolder(kTexturesFolderName);
}

int PresetLibrary::indexOf(const PresetFile& file) const {
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        if (m_files[i].get() == &file) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void PresetLibrary::discoverPresetFiles(const TextureFields& current) {
    const std::string module = vxPlatform().modulePath();
    m_textures_folder = texturesFolderOfModule(module);
    discoverPresetFilesIn(presetsFolderOfModule(module), current);
}

void PresetLibrary::discoverPresetFilesIn(const std::string& folder, const TextureFields& current) {
    discoverPresetFilesIn(std::vector<std::string>{folder}, current);
}

void PresetLibrary::discoverPresetFilesIn(const std::vector<std::string>& folders, const TextureFields& current) {
    while (!m_files.empty()) {
        m_files.pop_back();
    }
    m_unreadable.clear();
    m_presets_folder = folders.empty() ? std::string() : asFolder(folders.front());
    // Every entry with the folder it comes from; an earlier folder's name wins.
    std::vector<std::pair<std::string, std::string>> entries;
    for (const std::string& each : folders) {
        const std::string folder = asFolder(each);
        for (const std::string& entry : listTxtEntries(folder)) {
            const bool hidden = std::any_of(entries.begin(), entries.end(),
                                            [&](const auto& known) { return equalsIgnoreCase(known.first, entry); });
            if (!hidden) {
                entries.emplace_back(entry, folder);
            }
        }
    }
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [entry, folder] : entries) {
        auto file = std::make_unique<PresetFile>(this);
        file->setPath(folder + entry);
        if (file->load()) {
            m_files.push_back(std::move(file));
        } else if (!file->damage().empty()) {
            m_unreadable.push_back(UnreadablePresetFile{file->name(), file->damage()});
        }
    }
    if (m_files.empty()) {
        auto file = std::make_unique<PresetFile>(this);
        file->setPath(m_presets_folder + "Default.txt");
        file->addPreset(current, 0, "Default");
        m_files.push_back(std::move(file));
    }
}

std::string PresetLibrary::fileNameWithoutReading(const std::string& folder, const std::string& stored) {
    m_presets_folder = asFolder(folder);
    std::vector<std::string> entries = listTxtEntries(m_presets_folder);
    std::sort(entries.begin(), entries.end()); // the library's order
    for (const std::string& entry : entries) {
        if (titleOf(entry) == stored) {
            return stored;
        }
    }
    return entries.empty() ? std::string("Default") : titleOf(entries.front());
}

bool PresetLibrary::isSharedFile(const PresetFile& file) const { return folderOf(file.path()) != m_presets_folder; }

bool PresetLibrary::selectCurrentFile(const std::string& fileName) {
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        if (m_files[i]->name() == fileName) {
            m_current_file_index = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

bool PresetLibrary::selectCurrentFile(const FilterParameters& block) {
    return selectCurrentFile(readField(block.presetFile, kPathSize));
}

void PresetLibrary::storeCurrentFileName(FilterParameters& block) const {
    const bool valid = m_current_file_index >= 0 && m_current_file_index < fileCount();
    copyToField(block.presetFile, kPathSize, valid ? file(m_current_file_index).name() : std::string());
}

bool PresetLibrary::validateFileNameCharacters(const std::string& name) {
    if (name.find_first_of(kForbiddenFileNameCharacters) != std::string::npos) {
        showPresetMessage(kFileNameCharacters);
        return false;
    }
    return checkWritableName(name);
}

bool PresetLibrary::validateFileName(const std::string& name, const PresetFile* renaming) const {
    for (const auto& file : m_files) {
        if (file.get() != renaming && equalsIgnoreCase(file->name(), name)) {
            showPresetMessage(kFileNameUsed);
            return false;
        }
    }
    // A file that could not be read is still there: a new one must not take its place.
    for (const UnreadablePresetFile& file : m_unreadable) {
        if (equalsIgnoreCase(file.name, name)) {
            showPresetMessage(kFileNameUsed);
            return false;
        }
    }
    return validateFileNameCharacters(name);
}

PresetFile& PresetLibrary::newPresetFile(const std::string& name) {
    auto file = std::make_unique<PresetFile>(this);
    file->setPath(m_presets_folder + name + ".txt");
    m_files.push_back(std::move(file));
    return *m_files.back();
}

bool PresetLibrary::deletePresetFile(int index) {
    PresetFile& doomed = file(index);
    if (vxPlatform().messageBox(kDeleteFileQuestion, kPresetCaption, VXMessageButtons::OkCancel,
                                VXMessageIcon::Warning) != VXMessageAnswer::Ok) {
        return false;
    }
    // The save takes the backup; a damaged file is not saved, but backed up all the same.
    // A file another program changed since it was read holds presets of theirs that
    // no backup has: it stays (the save has said why).
    if (doomed.readWhole()) {
        if (!doomed.save() && doomed.changedOnDisk()) {
            return false;
        }
    } else {
        doomed.takeBackup();
    }
    std::error_code error;
    std::filesystem::remove(std::filesystem::path(doomed.path()), error);
    m_files.erase(m_files.begin() + index);
    return true;
}

} // namespace morvessan
