// The colour picker's window: binds the wells, panel, slider and fields to the
// picker model, places itself where it was last closed, and saves on closing.
#include "windows/dialogs/VXPSColourDialog.h"

#include "dialog/VXColourAxes.h"
#include "dialog/VXPlacement.h"
#include "resources/dialogs/DialogIds.h"
#include "windows/widgets/VXToolkitClasses.h"

#include <commctrl.h>

#include <string>

namespace morvessan {

namespace {

struct ColourField {
    int id;
    int spin;
    VXColourChannel channel;
};

constexpr ColourField kFields[6] = {
    {IDC_RED, IDC_RED_SPIN, VXColourChannel::Red},
    {IDC_GREEN, IDC_GREEN_SPIN, VXColourChannel::Green},
    {IDC_BLUE, IDC_BLUE_SPIN, VXColourChannel::Blue},
    {IDC_HUE, IDC_HUE_SPIN, VXColourChannel::Hue},
    {IDC_SATURATION, IDC_SATURATION_SPIN, VXColourChannel::Saturation},
    {IDC_LUMINANCE, IDC_LUMINANCE_SPIN, VXColourChannel::Luminance},
};

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
    for (const ColourField& field : kFields) {
        SendMessageA(item(field.spin), UDM_SETRANGE32, 0, channelMaximum(field.channel));
        SendMessageA(item(field.id), EM_LIMITTEXT, static_cast<WPARAM>(channelDigits(field.channel)), 0);
    }
    for (const VXColourStyleEntry& style : colourStyles()) {
        SendMessageA(item(IDC_STYLE_LIST), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(style.name));
    }
    setChecked(IDC_PANEL_CONTROLS_SLIDER, m_model.panelControlsSlider());
    setChecked(IDC_SLIDER_CONTROLS_PANEL, m_model.sliderControlsPanel());
    if (HICON icon = static_cast<HICON>(
            LoadImageA(vxModuleInstance(), MAKEINTRESOURCEA(IDI_SMALL_ICON), IMAGE_ICON, 16, 16, LR_SHARED))) {
        SendMessageA(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    apply(kChangePickerStyle | kChangePanel | kChangeSlider | kChangeCustomWells | kChangeFields);
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

void VXPSColourDialog::apply(unsigned changes, int typedField) {
    if (changes & kChangePickerStyle) {
        SendMessageA(item(IDC_STYLE_LIST), CB_SETCURSEL, static_cast<WPARAM>(styleListIndex(m_model.style())), 0);
        enableItem(IDC_PANEL_CONTROLS_SLIDER, m_model.styleEntry().panelControlsSlider);
        enableItem(IDC_SLIDER_CONTROLS_PANEL, m_model.styleEntry().sliderControlsPanel);
    }
    if (changes & kChangeFields) {
        showColour(typedField);
    }
    if (changes & kChangeCustomWells) {
        showCustomWells();
    }
    if (changes & (kChangePanel | kChangePanelMarker)) {
        m_panel.refresh((changes & kChangePanel) != 0);
    }
    if (changes & (kChangeSlider | kChangeSliderMarker)) {
        m_slider.refresh((changes & kChangeSlider) != 0);
    }
}

// Shows the model's colour everywhere but in the field being typed into.
void VXPSColourDialog::showColour(int changedField) {
    m_updating = true;
    for (const ColourField& field : kFields) {
        if (field.id != changedField) {
            SetDlgItemInt(m_hwnd, field.id, static_cast<UINT>(channelValue(m_model, field.channel)), FALSE);
        }
    }
    m_current.setColour(m_model.colour());
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
        apply(m_model.setColour(basicColour(id - IDC_BASIC_FIRST)));
        return true;
    }
    if (id >= IDC_CUSTOM_FIRST && id < IDC_CUSTOM_FIRST + VXPSColourPickerModel::kCustomCount) {
        const int slot = id - IDC_CUSTOM_FIRST;
        apply(code == VXColourStatic::kRightClicked ? m_model.toggleCustom(slot)
                                                    : m_model.setColour(m_model.customColour(slot)));
        return true;
    }
    for (const ColourField& field : kFields) {
        if (field.id != id) {
            continue;
        }
        if (code == EN_CHANGE && !m_updating) {
            BOOL ok = FALSE;
            const int value = static_cast<int>(GetDlgItemInt(m_hwnd, id, &ok, FALSE));
            if (ok) {
                apply(setChannelValue(m_model, field.channel, value), id);
            }
        } else if (code == EN_KILLFOCUS) {
            showColour(-1); // a field left out of range shows the clamped value
        }
        return true;
    }
    switch (id) {
    case IDC_ADD_CUSTOM: apply(m_model.addCustomColour()); return true;
    case IDC_STYLE_LIST:
        if (code == CBN_SELCHANGE) {
            const LRESULT index = SendMessageA(control, CB_GETCURSEL, 0, 0);
            if (index >= 0 && index < static_cast<LRESULT>(colourStyles().size())) {
                apply(m_model.setStyle(colourStyles()[static_cast<std::size_t>(index)].stored));
            }
        }
        return true;
    case IDC_PANEL_CONTROLS_SLIDER:
        if (code == BN_CLICKED) {
            apply(m_model.setPanelControlsSlider(isChecked(id)));
        }
        return true;
    case IDC_SLIDER_CONTROLS_PANEL:
        if (code == BN_CLICKED) {
            apply(m_model.setSliderControlsPanel(isChecked(id)));
        }
        return true;
    case IDC_COLOUR_PANEL:
    case IDC_COLOUR_SLIDER:
        if (code == VXColourPanel::kChanged) {
            apply((id == IDC_COLOUR_PANEL ? m_panel : m_slider).lastChanges());
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
