// PSMorvessanAdvancedChild: the customise page: preset file, category and the
// drop-down preset grid, "Add Preset", "Manage Presets", "Seamless" with "Show
// tiled", and the three tabs of sub-pages.
#pragma once

#include "dialog/PSMorvessanAdvancedChildModel.h"
#include "windows/dialogs/PSMorvessanAdvancedColourChild.h"
#include "windows/dialogs/PSMorvessanAdvancedExtrasChild.h"
#include "windows/dialogs/PSMorvessanAdvancedTextureChild.h"
#include "windows/dialogs/PSMorvessanPage.h"
#include "windows/widgets/PSMorvessanPresetCombo.h"

namespace morvessan {

class PSMorvessanAdvancedChild : public PSMorvessanPage {
public:
    PSMorvessanAdvancedChild(PSMorvessanPluginDialog& owner, PSMorvessanAdvancedChildModel& model);
    void refresh(unsigned changes) override;
    void selectTab(int tab);
    PSMorvessanPresetCombo& presetCombo() { return m_preset_combo; }
    PSMorvessanAdvancedTextureChild& texturePage() { return m_texture; }
    PSMorvessanAdvancedColourChild& colourPage() { return m_colour; }
    PSMorvessanAdvancedExtrasChild& extrasPage() { return m_extras; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    PSMorvessanPage& subPage(int tab);
    void addPreset();
    // The two check boxes from their model: checks, enabled states, the tip that
    // says why "Seamless" is off.
    void refreshSeamless(unsigned changes);

    PSMorvessanAdvancedChildModel& m_model;
    PSMorvessanPresetCombo m_preset_combo;
    PSMorvessanAdvancedTextureChild m_texture;
    PSMorvessanAdvancedColourChild m_colour;
    PSMorvessanAdvancedExtrasChild m_extras;
};

} // namespace morvessan
