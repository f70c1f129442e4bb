// The main dialog without its windows: the opening sequence, the two pages, zoom,
// locator, previews, opacity and the two flags, transformation buttons and help.
#pragma once

#include "dialog/PSMorvessanAdvancedChildModel.h"
#include "dialog/PSMorvessanChange.h"
#include "dialog/PSMorvessanEditingSession.h"
#include "dialog/PSMorvessanPresetChildModel.h"
#include "dialog/PSMorvessanSeamlessModel.h"
#include "dialog/PSMorvessanPreviewControlModel.h"
#include "dialog/VXPSLocatorGeometry.h"
#include "dialog/VXPSPreviewControlModel.h"
#include "dialog/TransformActions.h"

#include <cstdint>
#include <string>

namespace morvessan {

// Pages whose controls have pop-up help, each with its own topic.
enum class PSMorvessanHelpPage { MainDialog, PresetPage, CustomisePage, Elements, Colours };

// The topic of a page's pop-up help ("::/Text/...").
const char* helpTopic(PSMorvessanHelpPage page);

class PSMorvessanPluginDialogModel {
public:
    static constexpr const char* kCaption = "Morvessan";
    static constexpr const char* kCustomiseCaption = "Customize    >>";
    static constexpr const char* kPresetsCaption = "Presets   <<";
    static constexpr const char* kWelcomeTopic = "::/Welcome.htm";

    // The tooltips of the zoom controls (their ids are the templates', in resources/dialogs/DialogIds.h).
    static constexpr const char* kZoomInTip = "Zoom In";
    static constexpr const char* kZoomOutTip = "Zoom Out";
    static constexpr const char* kLocatorTip = "Zoom Locator";
    static constexpr const char* kZoomRatioTip = "Current Zoom Ratio";
    static constexpr const char* kLocatorTitle = "Preview Locator";

    explicit PSMorvessanPluginDialogModel(PSMorvessanEditingSession& session);
    PSMorvessanPluginDialogModel(const PSMorvessanPluginDialogModel&) = delete;
    PSMorvessanPluginDialogModel& operator=(const PSMorvessanPluginDialogModel&) = delete;

    // --- Opening, in this order around the creation of the windows.
    // Appends "Get to OnInitDialog after %dms" (since the start of the run) and
    // fills the preset page; returns what to load into the controls.
    unsigned beginOpening();
    // The "Preview Image" control's client size is known: the overview proxy and
    // the preview size (which fetches the proxies and renders the first preview).
    unsigned previewReady(int width, int height);
    // Appends "PSMorvessanPluginDialog::OnInitDialog took %dms"; the enabled states follow.
    unsigned endOpening();
    // The first idle moment and every later one: the startup log is completed once.
    void idle();

    // --- What the controls show.
    // The opacity slider: the integer part of totalOpacity, within 0..100.
    int opacitySlider() const;
    bool scaleBySource() const;
    bool overwriteSource() const;
    bool canZoomIn() const;
    bool canZoomOut() const;
    bool locatorEnabled() const { return canZoomOut(); }
    // "Overwrite source" acts only together with "Scale by source".
    bool overwriteEnabled() const { return scaleBySource(); }
    // The zoom ratio text (no prefix in this dialog).
    std::string ratioText() const;
    bool customiseVisible() const { return m_customise_visible; }
    // The page switch button's caption.
    const char* switchCaption() const { return m_customise_visible ? kPresetsCaption : kCustomiseCaption; }

    // --- What the user does.
    unsigned setOpacity(int value);
    unsigned setScaleBySource(bool on);
    unsigned setOverwriteSource(bool on);
    unsigned zoomIn();
    unsigned zoomOut();
    // The locator's command after it set the preview rectangle.
    unsigned locatorChosen() const { return kChangeAllPreviews; }
    // "Customize    >>" / "Presets   <<". List bits refer to the page now shown.
    unsigned switchPages();
    // A transformation button report after `milliseconds` held (Alt or Ctrl: a
    // tenth of the step); "Reset" once per click.
    unsigned navigate(NavigationButton button, std::uint32_t milliseconds);
    // "&Help".
    void help();
    // Help file and topic of a page's pop-up help.
    std::string controlHelpPath(PSMorvessanHelpPage page) const;

    // Renders the output proxy again: the one place a kChangePreview is acted on.
    void refreshPreview();

    PSMorvessanPresetChildModel& presetPage() { return m_preset_page; }
    PSMorvessanAdvancedChildModel& customisePage() { return m_customise_page; }
    PSMorvessanSeamlessModel& seamless() { return m_seamless; }
    VXPSPreviewControlModel& originalPreview() { return m_original; }
    PSMorvessanPreviewControlModel& texturePreview() { return m_texture_preview; }
    VXPSLocatorModel& locator() { return m_locator; }
    // What the windows' own dialogs (Add Preset, Manage Presets, pop-up help) take.
    PSMorvessanPresetSession& presets() { return m_session; }
    PSMorvessanDialogServices& services() { return m_session; }

private:
    PSMorvessanEditingSession& m_session;
    VXPSPreviewSession& m_preview;
    PSMorvessanPresetChildModel m_preset_page;
    PSMorvessanAdvancedChildModel m_customise_page;
    PSMorvessanSeamlessModel m_seamless;
    VXPSPreviewControlModel m_original;
    PSMorvessanPreviewControlModel m_texture_preview;
    VXPSLocatorModel m_locator;
    bool m_customise_visible = false;
    std::uint32_t m_open_start = 0;
};

} // namespace morvessan
