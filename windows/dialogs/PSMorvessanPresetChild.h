// PSMorvessanPresetChild: the preset page: preset file list, category list and
// the thumbnails of the category's presets; choosing one applies it.
#pragma once

#include "dialog/PSMorvessanPresetChildModel.h"
#include "windows/dialogs/PSMorvessanPage.h"
#include "windows/widgets/PSMorvessanPresetsListBox.h"

namespace morvessan {

class PSMorvessanPresetChild : public PSMorvessanPage {
public:
    PSMorvessanPresetChild(PSMorvessanPluginDialog& owner, PSMorvessanPresetChildModel& model);
    void refresh(unsigned changes) override;
    PSMorvessanPresetsListBox& presetList() { return m_presets; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;

private:
    PSMorvessanPresetChildModel& m_model;
    PSMorvessanPresetsListBox m_presets;
};

} // namespace morvessan
