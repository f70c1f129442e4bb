// The Manage Presets commands on the library, through the preset management operations.
#include "dialog/PSMorvessanManagePresetsModel.h"

namespace morvessan {

const TexturePreset* PSMorvessanManagePresetsModel::previewPreset() const {
    if (!m_selection || m_selection->level != PresetTreeItem::Level::Preset) {
        return nullptr;
    }
    return &m_library.file(m_selection->file).preset(m_selection->category, m_selection->preset);
}

PresetFile* PSMorvessanManagePresetsModel::submitFile() {
    return m_selection ? &m_library.file(m_selection->file) : nullptr;
}

bool PSMorvessanManagePresetsModel::addFile(const NameRequest& askName) {
    while (const std::optional<std::string> name = askName()) {
        if (addPresetFileNamed(m_library, *name)) {
            return true;
        }
    }
    return false;
}

bool PSMorvessanManagePresetsModel::addCategory(const NameRequest& askName) {
    if (!m_selection) {
        return false;
    }
    PresetFile& file = m_library.file(m_selection->file);
    while (const std::optional<std::string> name = askName()) {
        if (addCategoryNamed(file, *name)) {
            return true;
        }
    }
    return false;
}

bool PSMorvessanManagePresetsModel::deleteSelected() {
    if (!m_selection || !deleteTreeItem(m_library, *m_selection)) {
        return false;
    }
    // The entry is gone; the window tells what is selected after its refresh.
    m_selection.reset();
    return true;
}

bool PSMorvessanManagePresetsModel::rename(const PresetTreeItem& item, const std::string& name) {
    return renameTreeItem(m_library, item, name);
}

bool PSMorvessanManagePresetsModel::beginDrag(const PresetTreeItem& item) {
    if (item.level == PresetTreeItem::Level::File) {
        m_dragged.reset();
        return false;
    }
    m_dragged = item;
    return true;
}

PSMorvessanManagePresetsModel::DragFeedback PSMorvessanManagePresetsModel::dragOver(
    const std::optional<PresetTreeItem>& under) const {
    if (!m_dragged || !under || !canDropTreeItem(*m_dragged, *under)) {
        return {};
    }
    return DragFeedback{under, true};
}

bool PSMorvessanManagePresetsModel::drop(const std::optional<PresetTreeItem>& under) {
    const std::optional<PresetTreeItem> dragged = m_dragged;
    m_dragged.reset();
    return dragged && under && dropTreeItem(m_library, *dragged, *under);
}

void PSMorvessanManagePresetsModel::ok() { saveAllPresetFiles(m_library); }

void PSMorvessanManagePresetsModel::cancel() { reloadAllPresetFiles(m_library); }

} // namespace morvessan
