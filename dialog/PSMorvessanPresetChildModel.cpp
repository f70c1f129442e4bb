// Preset page choices, written into the plug-in and its parameter block.
#include "dialog/PSMorvessanPresetChildModel.h"

#include "dialog/PSMorvessanEditingSession.h"
#include "texture/FilterParameters.h"

namespace morvessan {

namespace {

constexpr unsigned kAllLists = kChangeFileList | kChangeCategoryList | kChangePresetList;

} // namespace

unsigned PSMorvessanPresetChildModel::fill() {
    fillFiles();
    const FilterParameters* block = session().GetParameters();
    fillCategories(block ? block->categoryIndex : 0);
    fillPresets();
    return kAllLists;
}

unsigned PSMorvessanPresetChildModel::shown() { return needsRefill() ? fill() : kChangeNothing; }

unsigned PSMorvessanPresetChildModel::chooseFile(int index) {
    if (!validFile(index)) {
        return kChangeNothing;
    }
    session().SetCurrentPresetFile(index);
    if (FilterParameters* block = session().GetParameters()) {
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
    if (FilterParameters* block = session().GetParameters()) {
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
    session().ApplyPreset(*chosen);
    setSelectedPreset(index);
    return kChangePreview;
}

} // namespace morvessan
