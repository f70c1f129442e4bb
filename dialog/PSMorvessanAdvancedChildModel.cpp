// Customise page choices, Add Preset and the startup timing of the page.
#include "dialog/PSMorvessanAdvancedChildModel.h"

#include "VXLib/VXUTIL/VXPlatform.h"
#include "dialog/PSMorvessanBlockSession.h"
#include "dialog/PSMorvessanDialogServices.h"
#include "dialog/PSMorvessanPresetSession.h"
#include "texture/FilterParameters.h"
#include "presets/PresetManagement.h"

namespace morvessan {

namespace {

constexpr unsigned kAllLists = kChangeFileList | kChangeCategoryList | kChangePresetList;

std::int32_t since(std::uint32_t start) { return static_cast<std::int32_t>(vxPlatform().milliseconds() - start); }

} // namespace

PSMorvessanAdvancedChildModel::PSMorvessanAdvancedChildModel(PSMorvessanBlockSession& block,
                                                             PSMorvessanPresetSession& presets,
                                                             PSMorvessanDialogServices& services)
    : PSMorvessanPresetPickersModel(presets), m_block(block), m_services(services), m_texture(block),
      m_colour(block, services), m_extras(block, presets) {}

void PSMorvessanAdvancedChildModel::beginInit() { m_init_start = vxPlatform().milliseconds(); }

void PSMorvessanAdvancedChildModel::subPagesCreated() { m_services.LogTiming("Sub took %dms\n", since(m_init_start)); }

void PSMorvessanAdvancedChildModel::endInit() {
    m_services.LogTiming("PSMorvessanAdvancedChild::OnInitDialog took %dms\n", since(m_init_start));
}

unsigned PSMorvessanAdvancedChildModel::fill() {
    fillFiles();
    fillCategories(selectedCategory() < 0 ? 0 : selectedCategory());
    fillPresets();
    return kAllLists;
}

unsigned PSMorvessanAdvancedChildModel::shown() { return needsRefill() ? fill() : kChangeNothing; }

unsigned PSMorvessanAdvancedChildModel::chooseFile(int index) {
    if (!validFile(index)) {
        return kChangeNothing;
    }
    presets().SetCurrentPresetFile(index);
    fillFiles();
    fillCategories(0);
    fillPresets();
    return kChangeCategoryList | kChangePresetList;
}

unsigned PSMorvessanAdvancedChildModel::chooseCategory(int index) {
    if (!validCategory(index)) {
        return kChangeNothing;
    }
    fillCategories(index);
    fillPresets();
    return kChangePresetList;
}

unsigned PSMorvessanAdvancedChildModel::choosePreset(int index) {
    const TexturePreset* chosen = preset(index);
    if (!chosen) {
        return kChangeNothing;
    }
    presets().ApplyPreset(*chosen);
    setSelectedPreset(index);
    return kChangePreview | refreshSubPages();
}

void PSMorvessanAdvancedChildModel::updatePresetGrid(const std::function<void()>& fillGrid) {
    const std::uint32_t start = vxPlatform().milliseconds();
    if (fillGrid) {
        fillGrid();
    }
    m_services.LogTiming("m_preset_combo.UpdateCategory took %dms\n", since(start));
}

std::string PSMorvessanAdvancedChildModel::proposedPresetName() const {
    const PresetFile* file = shownFile();
    return file ? proposePresetName(*file, selectedCategory()) : std::string("Preset 1");
}

unsigned PSMorvessanAdvancedChildModel::addPreset(const NameRequest& askName) {
    PresetFile* file = shownFile();
    const FilterParameters* block = m_block.GetParameters();
    if (!file || !block || !askName) {
        return kChangeNothing;
    }
    const std::optional<std::string> name = askName(proposePresetName(*file, selectedCategory()));
    if (!name) {
        return kChangeNothing;
    }
    const int hadCategories = file->categoryCount();
    const int category = addPresetFromTexture(*file, selectedCategory(), block->texture, *name);
    if (category < 0) {
        return kChangeNothing;
    }
    fillCategories(category);
    fillPresets();
    return file->categoryCount() != hadCategories ? kChangeCategoryList | kChangePresetList : kChangePresetList;
}

unsigned PSMorvessanAdvancedChildModel::presetsManaged() { return fill(); }

unsigned PSMorvessanAdvancedChildModel::selectTab(int tab) {
    if (tab < 0 || tab >= static_cast<int>(kTabNames.size()) || tab == m_tab) {
        return kChangeNothing;
    }
    m_tab = tab;
    return kChangeSubPages;
}

unsigned PSMorvessanAdvancedChildModel::refreshSubPages() {
    return m_texture.refresh() | m_colour.refresh() | m_extras.refresh() | kChangeSubPages;
}

} // namespace morvessan
