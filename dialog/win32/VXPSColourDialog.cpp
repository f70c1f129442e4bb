// The colour picker's window: binds the wells, panel, slider and fields to the
// picker model, places itself where it was last closed, and saves on closing.
#include "dialog/win32/VXPSColourDialog.h"

#include "VXLib/VXUTIL/VXPlatform.h"
#include "dialog/VXPlacement.h"
#include "resources/dialogs/DialogIds.h"
#include "widgets/VXToolkitClasses.h"

#include <commctrl.h>

#include <string>

namespace morvessan {

namespace {

constexpr int kFieldIds[6] = {IDC_RED, IDC_GREEN, IDC_BLUE, IDC_HUE, IDC_SATURATION, IDC_LUMINANCE};
constexpr int kSpinIds[6] = {IDC_RED_SPIN, IDC_GREEN_SPIN,      IDC_BLUE_SPIN,
                             IDC_HUE_SPIN, IDC_SATURATION_SPIN, IDC_LUMINANCE_SPIN};

BOOL CALLBACK collectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info)) {
        reinterpret_cast<std::vector<VXRectI>*>(data)->push_back(
            VXRectI{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom});
    }
    return TRUE;
}

} // namespace

VXPSColourDialog::VXPSColourDialog(std::uint32_t colour)
    : VXPSPluginDialog(IDD_COLOUR_PICKER), m_model(colour), m_current(m_colours), m_panel(m_model, m_colours, false),
      m_slider(m_model, m_colours, true) {}

VXPSColourDialog::~VXPSColourDialog() = default;

bool VXPSColourDialog::pickColour(HWND owner, std::uint32_t& colour) {
    VXToolkitClasses classes;
    VXPSColourDialog dialog(colour);
    const std::string key = VXPSColourPickerModel::kDefaultKey;
    dialog.m_model.setKeys(key, key, key);
    dialog.m_model.load();
    if (dialog.doModal(owner) != IDOK) {
        return false;
    }
    colour = dialog.m_model.colour();
    return true;
}

bool VXPSColourDialog::onInitDialog() {
    VXPSPluginDialog::onInitDialog();
    for (int i = 0; i < VXPSColourPickerModel::kBasicCount; ++i) {
        auto well = std::make_unique<VXColourStatic>(m_colours);
        well->attach(item(IDC_BASIC_FIRST + i));
        well->setColour(basicColour(i));
        m_basic.push_back(std::move(well));
    }
    for (int i = 0; i < VXPSColourPickerModel::kCustomCount; ++i) {
        auto well = std::make_unique<VXColourStatic>(m_colours);
        well->attach(item(IDC_CUSTOM_FIRST + i));
        m_tooltips.add(well->hwnd(), "Right click to choose the slot 'Add Custom' fills");
        m_custom.push_back(std::move(well));
    }
    m_current.attach(item(IDC_CURRENT_COLOUR));
    m_panel.attach(item(IDC_COLOUR_PANEL));
    m_slider.attach(item(IDC_COLOUR_SLIDER));
    for (int i = 0; i < 6; ++i) {
        SendMessageA(item(kSpinIds[i]), UDM_SETRANGE32, 0, i == 3 ? 359 : 255);
        SendMessageA(item(kFieldIds[i]), EM_LIMITTEXT, 3, 0);
    }
    for (const VXColourStyleEntry& style : colourStyles()) {
        SendMessageA(item(IDC_STYLE_LIST), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(style.name));
    }
    setChecked(IDC_PANEL_CONTROLS_SLIDER, true);
    setChecked(IDC_SLIDER_CONTROLS_PANEL, true);
    if (HICON icon = static_cast<HICON>(
            LoadImageA(vxModuleInstance(), MAKEINTRESOURCEA(IDI_SMALL_ICON), IMAGE_ICON, 16, 16, LR_SHARED))) {
        SendMessageA(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    applyStyle();
    showCustomWells();
    showColour(-1);
    placeWindow();
    return true;
}

void VXPSColourDialog::placeWindow() {
    RECT window{};
    GetWindowRect(m_hwnd, &window);
    m_natural = SIZE{window.right - window.left, window.bottom - window.top};
    RECT client{};
    GetClientRect(m_hwnd, &client);
    for (int id : {IDOK, IDCANCEL, IDC_GRIPPER}) {
        const RECT rect = itemRect(id);
        m_anchors.push_back(Anchor{id, client.right - rect.left, client.bottom - rect.top});
    }
    if (!m_model.hasPlacement()) {
        return;
    }
    std::vector<VXRectI> workAreas;
    EnumDisplayMonitors(nullptr, nullptr, &collectWorkArea, reinterpret_cast<LPARAM>(&workAreas));
    const VXRectI placed = fitPlacement(m_model.placement(), VXSizeI{m_natural.cx, m_natural.cy}, workAreas);
    SetWindowPos(m_hwnd, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void VXPSColourDialog::applyStyle() {
    const int index = styleListIndex(m_model.style());
    SendMessageA(item(IDC_STYLE_LIST), CB_SETCURSEL, static_cast<WPARAM>(index < 0 ? 0 : index), 0);
    const VXColourStyleEntry& style = colourStyles()[static_cast<std::size_t>(index < 0 ? 0 : index)];
    enableItem(IDC_PANEL_CONTROLS_SLIDER, style.panelControlsSlider);
    enableItem(IDC_SLIDER_CONTROLS_PANEL, style.sliderControlsPanel);
    m_panel.setStyle(m_model.style());
    m_slider.setStyle(m_model.style());
}

// Shows the model's colour everywhere but in the field being typed into.
void VXPSColourDialog::showColour(int changedField) {
    m_updating = true;
    const std::uint32_t c = m_model.colour();
    const VXHsl hsl = m_model.hsl();
    const int values[6] = {static_cast<int>(c & 0xFF),
                           static_cast<int>((c >> 8) & 0xFF),
                           static_cast<int>((c >> 16) & 0xFF),
                           hsl.hue,
                           hsl.saturation,
                           hsl.luminance};
    for (int i = 0; i < 6; ++i) {
        if (kFieldIds[i] != changedField) {
            SetDlgItemInt(m_hwnd, kFieldIds[i], static_cast<UINT>(values[i]), FALSE);
        }
    }
    m_current.setColour(c);
    m_updating = false;
}

void VXPSColourDialog::showCustomWells() {
    for (int i = 0; i < VXPSColourPickerModel::kCustomCount; ++i) {
        m_custom[static_cast<std::size_t>(i)]->setColour(m_model.customColour(i));
        m_custom[static_cast<std::size_t>(i)]->setSelected(i == m_model.selectedCustom());
    }
}

bool VXPSColourDialog::onCommand(int id, int code, HWND control) {
    if (id >= IDC_BASIC_FIRST && id < IDC_BASIC_FIRST + VXPSColourPickerModel::kBasicCount) {
        m_model.setColour(basicColour(id - IDC_BASIC_FIRST));
        showColour(-1);
        m_panel.refresh(true);
        m_slider.refresh(true);
        return true;
    }
    if (id >= IDC_CUSTOM_FIRST && id < IDC_CUSTOM_FIRST + VXPSColourPickerModel::kCustomCount) {
        const int slot = id - IDC_CUSTOM_FIRST;
        if (code == VXColourStatic::kRightClicked) {
            m_model.selectCustom(m_model.selectedCustom() == slot ? -1 : slot);
            showCustomWells();
        } else {
            m_model.setColour(m_model.customColour(slot));
            showColour(-1);
            m_panel.refresh(true);
            m_slider.refresh(true);
        }
        return true;
    }
    switch (id) {
    case IDC_ADD_CUSTOM: {
        const std::string refused = m_model.addCustom();
        if (!refused.empty()) {
            vxPlatform().messageBox(refused, "Colour Picker", VXMessageButtons::Ok, VXMessageIcon::Information);
        }
        showCustomWells();
        return true;
    }
    case IDC_STYLE_LIST:
        if (code == CBN_SELCHANGE) {
            const LRESULT index = SendMessageA(control, CB_GETCURSEL, 0, 0);
            if (index >= 0 && index < static_cast<LRESULT>(colourStyles().size())) {
                m_model.setStyle(colourStyles()[static_cast<std::size_t>(index)].stored);
                applyStyle();
            }
        }
        return true;
    case IDC_COLOUR_PANEL:
    case IDC_COLOUR_SLIDER:
        if (code == VXColourPanel::kChanged) {
            showColour(-1);
            const bool fromPanel = id == IDC_COLOUR_PANEL;
            // The options say whether the other half redraws its colours from this one.
            const bool other =
                fromPanel ? isChecked(IDC_PANEL_CONTROLS_SLIDER) || !IsWindowEnabled(item(IDC_PANEL_CONTROLS_SLIDER))
                          : isChecked(IDC_SLIDER_CONTROLS_PANEL) || !IsWindowEnabled(item(IDC_SLIDER_CONTROLS_PANEL));
            (fromPanel ? m_panel : m_slider).refresh(false);
            (fromPanel ? m_slider : m_panel).refresh(other);
        }
        return true;
    case IDC_RED:
    case IDC_GREEN:
    case IDC_BLUE:
    case IDC_HUE:
    case IDC_SATURATION:
    case IDC_LUMINANCE:
        if (code == EN_CHANGE && !m_updating) {
            BOOL ok = FALSE;
            const int value = static_cast<int>(GetDlgItemInt(m_hwnd, id, &ok, FALSE));
            if (ok) {
                switch (id) {
                case IDC_RED: m_model.setRed(value); break;
                case IDC_GREEN: m_model.setGreen(value); break;
                case IDC_BLUE: m_model.setBlue(value); break;
                case IDC_HUE: m_model.setHue(value); break;
                case IDC_SATURATION: m_model.setSaturation(value); break;
                default: m_model.setLuminance(value); break;
                }
                showColour(id);
                m_panel.refresh(true);
                m_slider.refresh(true);
            }
        } else if (code == EN_KILLFOCUS) {
            showColour(-1); // a field left out of range shows the clamped value
        }
        return true;
    default: break;
    }
    return VXPSPluginDialog::onCommand(id, code, control);
}

void VXPSColourDialog::layoutBottomRow(int width, int height) {
    // OK, Cancel and the gripper keep their distances from the bottom-right corner.
    for (const Anchor& anchor : m_anchors) {
        SetWindowPos(item(anchor.id), nullptr, width - anchor.fromRight, height - anchor.fromBottom, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void VXPSColourDialog::saveSettings() {
    if (m_saved) {
        return;
    }
    m_saved = true;
    RECT window{};
    GetWindowRect(m_hwnd, &window);
    m_model.save(VXRectI{window.left, window.top, window.right, window.bottom});
}

std::optional<LRESULT> VXPSColourDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (m_natural.cx > 0) {
            layoutBottomRow(LOWORD(lParam), HIWORD(lParam));
        }
        return 0;
    case WM_GETMINMAXINFO:
        if (m_natural.cx > 0) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = POINT{m_natural.cx, m_natural.cy};
        }
        return 0;
    case WM_DESTROY: saveSettings(); break;
    default: break;
    }
    return VXPSPluginDialog::onMessage(message, wParam, lParam);
}

} // namespace morvessan
