// PSMorvessanPluginDialog: the filter's main dialog: the two previews with zoom
// and locator, opacity, the two flags, the transformation buttons and the two pages.
#pragma once

#include "dialog/FieldValueRange.h"
#include "dialog/PSMorvessanPluginDialogModel.h"
#include "windows/dialogs/PSMorvessanAdvancedChild.h"
#include "windows/dialogs/PSMorvessanPresetChild.h"
#include "windows/dialogs/VXPSPluginDialog.h"
#include "windows/widgets/PSMorvessanNavigationButton.h"
#include "windows/widgets/VXPSPreviewControl.h"
#include "windows/widgets/VXPSPreviewLocatorButton.h"
#include "windows/widgets/VXPSZoomRatioStatic.h"
#include "windows/widgets/VXValueBinding.h"

#include <array>

namespace morvessan {

class PSMorvessanEditingSession;

class PSMorvessanPluginDialog : public VXPSPluginDialog {
public:
    explicit PSMorvessanPluginDialog(PSMorvessanEditingSession& session);
    ~PSMorvessanPluginDialog() override;

    PSMorvessanPluginDialogModel& model() { return m_model; }
    // Refreshes what a model operation changed (PSMorvessanChange bits); renders
    // the preview at most once.
    void apply(unsigned changes);
    // Whether a screen point lies over one of the two previews (the dropper).
    bool isOverPreview(POINT screen) const;
    // Pop-up help for a control of a page.
    std::optional<LRESULT> onPageHelp(PSMorvessanPage& page, const HELPINFO* info);

    PSMorvessanPresetChild& presetPage() { return m_preset_page; }
    PSMorvessanAdvancedChild& customisePage() { return m_customise_page; }

protected:
    bool loadBackgroundImage(VXImage2& image) override;
    bool loadOverlayImage(VXImage2& image) override;
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onIdle() override;

private:
    void updateEnabledStates();
    void showControlHelp(PSMorvessanHelpPage page, const HELPINFO* info);
    void showPages();

    PSMorvessanPluginDialogModel m_model;
    VXPSPreviewControl m_original;
    VXPSPreviewControl m_preview;
    VXPSZoomRatioStatic m_ratio;
    VXPSPreviewLocatorButton m_locator;
    VXValueBinding m_opacity{fieldValueRange(TextureFieldId::TotalOpacity)};
    std::array<PSMorvessanNavigationButton, 13> m_navigation;
    PSMorvessanPresetChild m_preset_page;
    PSMorvessanAdvancedChild m_customise_page;
    bool m_open = false;
};

} // namespace morvessan
