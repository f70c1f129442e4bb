// The three preset pickers both pages of the main dialog show (preset file,
// category, preset), as lists of names with their selections.
#pragma once

#include "dialog/PSMorvessanChange.h"
#include "texture/TexturePreset.h"

#include <string>
#include <vector>

namespace morvessan {

class PSMorvessanPresetSession;
class PresetFile;
class VXImage2;

// count == 0 gives -1 (nothing to select); otherwise `index` limited to 0..count - 1.
int clampSelection(int index, int count);

class PSMorvessanPresetPickersModel {
public:
    explicit PSMorvessanPresetPickersModel(PSMorvessanPresetSession& presets) : m_presets(presets) {}
    virtual ~PSMorvessanPresetPickersModel() = default;
    PSMorvessanPresetPickersModel(const PSMorvessanPresetPickersModel&) = delete;
    PSMorvessanPresetPickersModel& operator=(const PSMorvessanPresetPickersModel&) = delete;

    // The names the lists hold since their last fill, and the selected rows (-1: none).
    const std::vector<std::string>& fileNames() const { return m_file_names; }
    const std::vector<std::string>& categoryNames() const { return m_category_names; }
    const std::vector<std::string>& presetNames() const { return m_preset_names; }
    int selectedFile() const { return m_file; }
    int selectedCategory() const { return m_category; }
    int selectedPreset() const { return m_preset; }

    // True before the first fill, or when the plug-in's current preset file is
    // no longer the one the file list shows.
    bool needsRefill() const;

    // Preset `index` of the category shown, or null.
    const TexturePreset* preset(int index) const;
    // Draws that preset into a 24-bit image (the lists' thumbnails); false without one.
    bool renderThumbnail(int index, VXImage2& image) const;

protected:
    PSMorvessanPresetSession& presets() const { return m_presets; }
    // The shown file, or null.
    PresetFile* shownFile() const;
    // File names, with the plug-in's current file selected (clamped, and the
    // plug-in's index follows the clamp so both agree on the file shown).
    void fillFiles();
    // Category names of the shown file, `wanted` selected (clamped).
    void fillCategories(int wanted);
    // Preset names of the selected category, none selected.
    void fillPresets();
    void setSelectedPreset(int index) { m_preset = index; }
    bool validFile(int index) const;
    bool validCategory(int index) const;

private:
    PSMorvessanPresetSession& m_presets;
    std::vector<std::string> m_file_names;
    std::vector<std::string> m_category_names;
    std::vector<std::string> m_preset_names;
    int m_file = -1;
    int m_category = -1;
    int m_preset = -1;
    bool m_filled = false;
};

} // namespace morvessan
