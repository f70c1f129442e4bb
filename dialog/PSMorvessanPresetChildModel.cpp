// Preset page choices, written into the plug-in and its parameter block.
#include "dialog/PSMorvessanPresetChildModel.h"

#include "dialog/PSMorvessanBlockSession.h"
#include "dialog/PSMorvessanPresetSession.h"
#include "texture/FilterParameters.h"

namespace morvessan {

namespace {

constexpr unsigned kAllLists = kChangeFileList | kChangeCategoryList | kChangePresetList;

} // namespace

unsigned PSMorvessanPresetChildModel::fill() {
    fillFiles();
    const FilterParameters* block = m_block.GetParameters();
    fillCategories(block ? block->categoryIndex : 0);
    fillPresets();
    return kAllLists;
}

unsigned PSMorvessanPresetChildModel::shown() { return needsRefill() ? fill() : kChangeNothing; }

unsigned PSMorvessanPresetChildModel::chooseFile(int index) {
    if (!validFile(index)) {
        return kChangeNothing;
    }
    presets().SetCurrentPresetFile(index);
    if (FilterParameters* block = m_block.GetParameters()) {
        block->categoryIndex = 0;
    }
    fillFiles();
    fillCategories(0);
    fillPresets();
    return kChangeCategoryList | kChangePresetList;
}

unsigned PSMorvessanPresetChildModel::chooseCategory(int index) {
    if (!validCategory(index)) {
        return kChangeNothing;
    }
    if (FilterParameters* block = m_block.GetParameters()) {
        block->categoryIndex = index;
    }
    fillCategories(index);
    fillPresets();
    return kChangePresetList;
}

unsigned PSMorvessanPresetChildModel::choosePreset(int index) {
    const TexturePreset* chosen = preset(index);
    if (!chosen) {
        return kChangeNothing;
    }
    presets().ApplyPreset(*chosen);
    setSelectedPreset(index);
    return kChangePreview;
}

} // namespace morvessan
