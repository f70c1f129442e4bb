// Main dialog operations on the plug-in, its parameter block and its previews.
#include "dialog/PSMorvessanPluginDialogModel.h"

#include "VXLib/VXUTIL/VXPlatform.h"
#include "dialog/VXPSZoomRatio.h"
#include "dialog/PSMorvessanEditingSession.h"
#include "texture/FilterParameters.h"
#include "texture/TextureFieldTable.h"

#include <algorithm>

namespace morvessan {

namespace {
constexpr const TextureField& kOpacity = textureField(TextureFieldId::TotalOpacity);
} // namespace

const char* helpTopic(PSMorvessanHelpPage page) {
    switch (page) {
    case PSMorvessanHelpPage::MainDialog: return "::/Text/XMorvessanDialog.txt";
    case PSMorvessanHelpPage::PresetPage: return "::/Text/PresetDialog.txt";
    case PSMorvessanHelpPage::CustomisePage: return "::/Text/CustomizeDialog.txt";
    case PSMorvessanHelpPage::Elements: return "::/Text/CustomizeTextureDialog.txt";
    case PSMorvessanHelpPage::Colours: return "::/Text/CustomizeColourDialog.txt";
    }
    return "";
}

PSMorvessanPluginDialogModel::PSMorvessanPluginDialogModel(PSMorvessanEditingSession& session)
    : m_session(session), m_preview(session.GetPreview()), m_preset_page(session, session),
      m_customise_page(session, session, session), m_seamless(session, m_preview),
      m_original(m_preview, kPreviewDisplay), m_texture_preview(session, m_preview), m_locator(m_preview) {}

unsigned PSMorvessanPluginDialogModel::beginOpening() {
    m_session.LogTiming("Get to OnInitDialog after %dms\n");
    m_open_start = vxPlatform().milliseconds();
    return m_preset_page.fill() | kChangeFields;
}

unsigned PSMorvessanPluginDialogModel::previewReady(int width, int height) {
    m_texture_preview.setClientSize(width, height);
    m_original.setClientSize(width, height);
    m_preview.BuildOverviewImage(width, height);
    m_preview.SetPreviewSize(width, height);
    return kChangeAllPreviews;
}

unsigned PSMorvessanPluginDialogModel::endOpening() {
    m_session.LogTiming("PSMorvessanPluginDialog::OnInitDialog took %dms\n",
                        static_cast<std::int32_t>(vxPlatform().milliseconds() - m_open_start));
    return kChangeEnabledStates;
}

void PSMorvessanPluginDialogModel::idle() { m_session.FinishStartupLog(); }

int PSMorvessanPluginDialogModel::opacitySlider() const {
    const FilterParameters* block = m_session.GetParameters();
    const double opacity = block ? block->texture.totalOpacity : 0.0;
    if (!(opacity > 0.0)) {
        return 0;
    }
    return opacity >= kOpacity.high ? static_cast<int>(kOpacity.high) : static_cast<int>(opacity);
}

bool PSMorvessanPluginDialogModel::scaleBySource() const {
    const FilterParameters* block = m_session.GetParameters();
    return block && block->scaleBySource;
}

bool PSMorvessanPluginDialogModel::overwriteSource() const {
    const FilterParameters* block = m_session.GetParameters();
    return block && block->overwriteSource;
}

bool PSMorvessanPluginDialogModel::canZoomIn() const { return m_preview.CanZoomIn(); }

bool PSMorvessanPluginDialogModel::canZoomOut() const { return m_preview.CanZoomOut(); }

std::string PSMorvessanPluginDialogModel::ratioText() const { return zoomRatioText(m_preview, false, ""); }

unsigned PSMorvessanPluginDialogModel::setOpacity(int value) {
    FilterParameters* block = m_session.GetParameters();
    if (!block) {
        return kChangeNothing;
    }
    const double opacity = std::clamp<double>(value, kOpacity.low, kOpacity.high);
    if (opacity == block->texture.totalOpacity) {
        return kChangeNothing;
    }
    block->texture.totalOpacity = opacity;
    return kChangePreview;
}

unsigned PSMorvessanPluginDialogModel::setScaleBySource(bool on) {
    FilterParameters* block = m_session.GetParameters();
    if (!block) {
        return kChangeNothing;
    }
    block->scaleBySource = on ? 1 : 0;
    return kChangePreview | kChangeEnabledStates;
}

unsigned PSMorvessanPluginDialogModel::setOverwriteSource(bool on) {
    FilterParameters* block = m_session.GetParameters();
    if (!block) {
        return kChangeNothing;
    }
    block->overwriteSource = on ? 1 : 0;
    return kChangePreview;
}

unsigned PSMorvessanPluginDialogModel::zoomIn() {
    if (!m_preview.CanZoomIn()) {
        return kChangeNothing;
    }
    m_preview.ZoomIn();
    return kChangeAllPreviews;
}

unsigned PSMorvessanPluginDialogModel::zoomOut() {
    if (!m_preview.CanZoomOut()) {
        return kChangeNothing;
    }
    m_preview.ZoomOut();
    return kChangeAllPreviews;
}

unsigned PSMorvessanPluginDialogModel::switchPages() {
    m_customise_visible = !m_customise_visible;
    unsigned changes = kChangePages | kChangeEnabledStates;
    if (m_customise_visible) {
        changes |= m_customise_page.refreshSubPages() | m_customise_page.shown();
    } else {
        changes |= m_preset_page.fill();
    }
    return changes;
}

unsigned PSMorvessanPluginDialogModel::navigate(NavigationButton button, std::uint32_t milliseconds) {
    VXPlatform& platform = vxPlatform();
    const bool fine = platform.isKeyDown(VXKey::Alt) || platform.isKeyDown(VXKey::Control);
    return m_texture_preview.apply(navigationAction(button, milliseconds, fine));
}

void PSMorvessanPluginDialogModel::help() { m_session.ShowHelpTopic(kWelcomeTopic); }

std::string PSMorvessanPluginDialogModel::controlHelpPath(PSMorvessanHelpPage page) const {
    std::string path;
    m_session.GetHelpFilePath(path);
    return path + helpTopic(page);
}

void PSMorvessanPluginDialogModel::refreshPreview() {
    // A preset or a transformation chosen on either page may have taken the tile
    // away: the 2 x 2 view then ends before the preview renders (once).
    if (m_preview.GetTiledView() && !m_seamless.seamless()) {
        m_preview.SetTiledView(false);
        return;
    }
    m_preview.BuildOutputImage();
}

} // namespace morvessan
