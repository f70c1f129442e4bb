// Filling the preset pickers from the plug-in's preset library.
#include "dialog/PSMorvessanPresetPickersModel.h"

#include "dialog/PSMorvessanPresetSession.h"
#include "presets/PresetLibrary.h"

#include <algorithm>

namespace morvessan {

int clampSelection(int index, int count) { return count <= 0 ? -1 : std::clamp(index, 0, count - 1); }

bool PSMorvessanPresetPickersModel::needsRefill() const {
    return !m_filled || m_presets.GetCurrentPresetFile() != m_file;
}

bool PSMorvessanPresetPickersModel::validFile(int index) const {
    return index >= 0 && index < m_presets.GetPresetFileCount();
}

bool PSMorvessanPresetPickersModel::validCategory(int index) const {
    const PresetFile* file = shownFile();
    return file && index >= 0 && index < file->categoryCount();
}

PresetFile* PSMorvessanPresetPickersModel::shownFile() const {
    return validFile(m_file) ? &m_presets.GetPresetFile(m_file) : nullptr;
}

const TexturePreset* PSMorvessanPresetPickersModel::preset(int index) const {
    const PresetFile* file = shownFile();
    if (!file || !validCategory(m_category) || index < 0 || index >= file->presetCount(m_category)) {
        return nullptr;
    }
    return &file->preset(m_category, index);
}

bool PSMorvessanPresetPickersModel::renderThumbnail(int index, VXImage2& image) const {
    const TexturePreset* shown = preset(index);
    return shown && m_presets.RenderPresetThumbnail(*shown, image);
}

void PSMorvessanPresetPickersModel::fillFiles() {
    m_filled = true;
    m_file_names.clear();
    const int count = m_presets.GetPresetFileCount();
    for (int i = 0; i < count; ++i) {
        m_file_names.push_back(m_presets.GetPresetFile(i).name());
    }
    m_file = clampSelection(m_presets.GetCurrentPresetFile(), count);
    if (m_file >= 0) {
        m_presets.SetCurrentPresetFile(m_file);
    }
}

void PSMorvessanPresetPickersModel::fillCategories(int wanted) {
    m_category_names.clear();
    const PresetFile* file = shownFile();
    const int count = file ? file->categoryCount() : 0;
    for (int i = 0; i < count; ++i) {
        m_category_names.push_back(file->categoryName(i));
    }
    m_category = clampSelection(wanted, count);
}

void PSMorvessanPresetPickersModel::fillPresets() {
    m_preset_names.clear();
    m_preset = -1;
    const PresetFile* file = shownFile();
    if (!file || !validCategory(m_category)) {
        return;
    }
    for (const TexturePreset& p : file->category(m_category).presets) {
        m_preset_names.push_back(p.name);
    }
}

} // namespace morvessan
