// The main dialog: creates and binds its controls and pages, and turns every
// model change into the repaint, refill or render it calls for.
#include "windows/dialogs/PSMorvessanPluginDialog.h"

#include "VXLib/VXImageFile.h"
#include "VXLib/VXUTIL/VXPlatform.h"
#include "dialog/PSMorvessanChange.h"
#include "dialog/PSMorvessanNavigationTips.h"
#include "windows/dialogs/PSMorvessanControlHelp.h"
#include "dialog/PSMorvessanEditingSession.h"
#include "resources/dialogs/DialogIds.h"
#include "windows/toolkit/VXWnd.h"

namespace morvessan {

namespace {

struct NavigationEntry {
    int id;
    NavigationButton button;
};

// The buttons in template order.
constexpr NavigationEntry kNavigation[13] = {
    {IDC_MOVE_LEFT, NavigationButton::MoveLeft},
    {IDC_MOVE_RIGHT, NavigationButton::MoveRight},
    {IDC_MOVE_UP, NavigationButton::MoveUp},
    {IDC_MOVE_DOWN, NavigationButton::MoveDown},
    {IDC_ROTATE_LEFT, NavigationButton::RotateLeft},
    {IDC_ROTATE_RIGHT, NavigationButton::RotateRight},
    {IDC_SQUASH_H, NavigationButton::SquashHorizontally},
    {IDC_SPREAD_H, NavigationButton::SpreadHorizontally},
    {IDC_SQUASH_V, NavigationButton::SquashVertically},
    {IDC_SPREAD_V, NavigationButton::SpreadVertically},
    {IDC_ZOOM_TEXTURE_IN, NavigationButton::ZoomIn},
    {IDC_ZOOM_TEXTURE_OUT, NavigationButton::ZoomOut},
    {IDC_RESET, NavigationButton::Reset},
};

} // namespace

PSMorvessanPluginDialog::PSMorvessanPluginDialog(PSMorvessanEditingSession& session)
    : VXPSPluginDialog(IDD_MAIN), m_model(session), m_original(m_model.originalPreview(), m_colours),
      m_preview(m_model.texturePreview(), m_colours, &m_model.texturePreview()),
      m_ratio(m_colours, [this] { return m_model.ratioText(); }), m_locator(m_model.locator(), session.GetPreview()),
      m_preset_page(*this, m_model.presetPage()), m_customise_page(*this, m_model.customisePage()) {}

PSMorvessanPluginDialog::~PSMorvessanPluginDialog() = default;

bool PSMorvessanPluginDialog::loadBackgroundImage(VXImage2& image) {
    return loadImageResource(vxModuleInstance(), 3016, "IMAGE", ".png", image);
}

bool PSMorvessanPluginDialog::loadOverlayImage(VXImage2& image) {
    return loadImageResource(vxModuleInstance(), 3017, "IMAGE", ".png", image);
}

bool PSMorvessanPluginDialog::onInitDialog() {
    VXPSPluginDialog::onInitDialog();
    const unsigned opening = m_model.beginOpening();
    m_original.attach(item(IDC_ORIGINAL_IMAGE));
    m_preview.attach(item(IDC_PREVIEW_IMAGE));
    m_ratio.attach(item(IDC_ZOOM_RATIO));
    m_locator.subclass(item(IDC_LOCATOR));
    for (std::size_t i = 0; i < m_navigation.size(); ++i) {
        m_navigation[i].subclass(item(kNavigation[i].id));
        m_tooltips.add(item(kNavigation[i].id), navigationTip(kNavigation[i].button));
    }
    m_tooltips.add(item(IDC_ZOOM_IN), PSMorvessanPluginDialogModel::kZoomInTip);
    m_tooltips.add(item(IDC_ZOOM_OUT), PSMorvessanPluginDialogModel::kZoomOutTip);
    m_tooltips.add(item(IDC_LOCATOR), PSMorvessanPluginDialogModel::kLocatorTip);
    m_tooltips.add(item(IDC_ZOOM_RATIO), PSMorvessanPluginDialogModel::kZoomRatioTip);
    m_tooltips.addFromStrings(m_hwnd);
    m_opacity.bind(item(IDC_OPACITY), item(IDC_OPACITY_EDIT), nullptr,
                   [this](double value) { apply(m_model.setOpacity(static_cast<int>(value))); });
    m_opacity.setValue(m_model.opacitySlider());
    setChecked(IDC_SCALE_BY_SOURCE, m_model.scaleBySource());
    setChecked(IDC_OVERWRITE_SOURCE, m_model.overwriteSource());

    const RECT area = itemRect(IDC_CHILD_AREA);
    m_preset_page.createIn(m_hwnd, area);
    m_customise_page.createIn(m_hwnd, area);
    // Tab order: the pages come after the controls they sit beside.
    SetWindowPos(m_preset_page.hwnd(), item(IDC_CHILD_AREA), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(m_customise_page.hwnd(), m_preset_page.hwnd(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    const RECT preview = m_preview.clientRect();
    m_open = true;
    apply(opening | m_model.previewReady(preview.right, preview.bottom) | kChangeFileList | kChangeCategoryList |
          kChangePresetList | kChangePages);
    apply(m_model.endOpening());
    return true;
}

void PSMorvessanPluginDialog::showPages() {
    const bool customise = m_model.customiseVisible();
    ShowWindow(m_customise_page.hwnd(), customise ? SW_SHOW : SW_HIDE);
    ShowWindow(m_preset_page.hwnd(), customise ? SW_HIDE : SW_SHOW);
    setItemText(IDC_SWITCH_PAGE, m_model.switchCaption());
}

void PSMorvessanPluginDialog::updateEnabledStates() {
    enableItem(IDC_ZOOM_IN, m_model.canZoomIn());
    enableItem(IDC_ZOOM_OUT, m_model.canZoomOut());
    enableItem(IDC_LOCATOR, m_model.locatorEnabled());
    enableItem(IDC_OVERWRITE_SOURCE, m_model.overwriteEnabled());
}

void PSMorvessanPluginDialog::apply(unsigned changes) {
    if (!m_open) {
        return;
    }
    if (changes & kChangePreview) {
        m_model.refreshPreview();
        m_preview.repaint();
        m_opacity.setValue(m_model.opacitySlider());
    } else if (changes & kChangeOutputPreview) {
        m_preview.repaint();
    }
    if (changes & kChangeSourcePreview) {
        m_original.repaint();
    }
    if (changes & kChangeRatio) {
        m_ratio.repaint();
    }
    if (changes & kChangeEnabledStates) {
        updateEnabledStates();
    }
    if (changes & kChangePages) {
        showPages();
    }
    // Each page reloads only what it shows; the hidden one refills when it is shown again.
    (m_model.customiseVisible() ? static_cast<PSMorvessanPage&>(m_customise_page)
                                : static_cast<PSMorvessanPage&>(m_preset_page))
        .refresh(changes);
}

bool PSMorvessanPluginDialog::isOverPreview(POINT screen) const {
    HWND under = WindowFromPoint(screen);
    return under && (under == m_original.hwnd() || under == m_preview.hwnd());
}

bool PSMorvessanPluginDialog::onCommand(int id, int code, HWND control) {
    if (m_opacity.handleCommand(control, code)) {
        return true;
    }
    switch (id) {
    case IDC_ZOOM_IN: apply(m_model.zoomIn()); return true;
    case IDC_ZOOM_OUT: apply(m_model.zoomOut()); return true;
    case IDC_LOCATOR: apply(m_model.locatorChosen()); return true;
    case IDC_SCALE_BY_SOURCE: apply(m_model.setScaleBySource(isChecked(IDC_SCALE_BY_SOURCE))); return true;
    case IDC_OVERWRITE_SOURCE: apply(m_model.setOverwriteSource(isChecked(IDC_OVERWRITE_SOURCE))); return true;
    case IDC_SWITCH_PAGE: apply(m_model.switchPages() | kChangePages | kChangeEnabledStates); return true;
    case IDC_HELP_BUTTON: m_model.help(); return true;
    case IDC_ORIGINAL_IMAGE:
        if (code == kPreviewDragged) {
            apply(m_original.lastChanges() | kChangeSourcePreview);
        }
        return true;
    case IDC_PREVIEW_IMAGE:
        if (code == kPreviewDragged) {
            apply(m_preview.lastChanges());
            m_original.repaint();
        }
        return true;
    default: break;
    }
    return VXPSPluginDialog::onCommand(id, code, control);
}

std::optional<LRESULT> PSMorvessanPluginDialog::onPageHelp(PSMorvessanPage& page, const HELPINFO* info) {
    PSMorvessanHelpPage topic = PSMorvessanHelpPage::MainDialog;
    if (&page == &m_preset_page) {
        topic = PSMorvessanHelpPage::PresetPage;
    } else if (&page == &m_customise_page) {
        topic = PSMorvessanHelpPage::CustomisePage;
    } else if (&page == &m_customise_page.texturePage()) {
        topic = PSMorvessanHelpPage::Elements;
    } else if (&page == &m_customise_page.colourPage()) {
        topic = PSMorvessanHelpPage::Colours;
    }
    showControlHelp(topic, info);
    return TRUE;
}

// The pop-up of the control under F1 or the help click; the page's whole text when
// the help system cannot show a single pop-up.
void PSMorvessanPluginDialog::showControlHelp(PSMorvessanHelpPage page, const HELPINFO* info) {
    if (!info || !showPluginControlHelp(m_model.services(), *info, helpTopic(page))) {
        vxPlatform().showHelp(m_model.controlHelpPath(page));
    }
}

std::optional<LRESULT> PSMorvessanPluginDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case PSMorvessanNavigationButton::kStepMessage: {
        for (const NavigationEntry& entry : kNavigation) {
            if (entry.id == static_cast<int>(wParam)) {
                apply(m_model.navigate(entry.button, static_cast<std::uint32_t>(lParam)));
                break;
            }
        }
        return 0;
    }
    case WM_HSCROLL:
        if (m_opacity.handleScroll(reinterpret_cast<HWND>(lParam))) {
            return 0;
        }
        break;
    case WM_HELP:
        showControlHelp(PSMorvessanHelpPage::MainDialog, reinterpret_cast<const HELPINFO*>(lParam));
        return TRUE;
    default: break;
    }
    return VXPSPluginDialog::onMessage(message, wParam, lParam);
}

void PSMorvessanPluginDialog::onIdle() { m_model.idle(); }

} // namespace morvessan
