// The Colours sub-page bound to its model.
#include "windows/dialogs/PSMorvessanAdvancedColourChild.h"

#include "dialog/PSMorvessanChange.h"
#include "windows/dialogs/PSMorvessanPluginDialog.h"
#include "resources/dialogs/DialogIds.h"
#include "dialog/GradientEditorGeometry.h"

namespace morvessan {

PSMorvessanAdvancedColourChild::PSMorvessanAdvancedColourChild(PSMorvessanPluginDialog& owner,
                                                               PSMorvessanAdvancedColourChildModel& model)
    : PSMorvessanPage(IDD_COLOURS_PAGE, owner), m_model(model), m_gradient(m_colours), m_well(m_colours),
      m_dropper(m_colours) {}

bool PSMorvessanAdvancedColourChild::onInitDialog() {
    PSMorvessanPage::onInitDialog();
    m_gradient.attach(item(IDC_GRADIENT));
    m_well.attach(item(IDC_STOP_COLOUR));
    m_dropper.attach(item(IDC_DROPPER));
    m_opacity.bind(item(IDC_STOP_OPACITY), nullptr, nullptr,
                   [this](double value) { apply(m_model.setOpacity(static_cast<int>(value))); });
    m_tooltips.add(item(IDC_ADD_STOP), PSMorvessanAdvancedColourChildModel::kAddTip);
    m_tooltips.add(item(IDC_REMOVE_STOP), PSMorvessanAdvancedColourChildModel::kRemoveTip);
    m_tooltips.add(item(IDC_REVERSE), PSMorvessanAdvancedColourChildModel::kReverseTip);
    m_tooltips.add(item(IDC_EDIT_STOP), PSMorvessanAdvancedColourChildModel::kEditTip);
    refresh(m_model.refresh());
    return false;
}

void PSMorvessanAdvancedColourChild::refresh(unsigned changes) {
    if (changes & (kChangeStops | kChangeSubPages)) {
        if (changes & kChangeSubPages) {
            m_model.refresh();
        }
        m_gradient.setStops(m_model.stops());
        m_well.setColour(m_model.wellColour());
        m_opacity.setValue(m_model.opacity());
    }
    if (changes & (kChangeEnabledStates | kChangeStops | kChangeSubPages)) {
        enableItem(IDC_ADD_STOP, m_model.canAdd());
        enableItem(IDC_REMOVE_STOP, m_model.canRemove());
    }
}

void PSMorvessanAdvancedColourChild::dropper(int code) {
    // Only colours over the two previews count; elsewhere the well shows the stop again.
    const bool overPreview = m_owner.isOverPreview(m_dropper.point());
    const std::uint32_t colour = m_dropper.colourUnderPointer();
    unsigned changes = 0;
    if (code == VXPSDropperButton::kDropperMoved) {
        changes = overPreview ? m_model.dropperHover(colour) : m_model.dropperCancel();
    } else if (code == VXPSDropperButton::kDropperPicked && overPreview) {
        changes = m_model.dropperRelease(colour);
    } else {
        changes = m_model.dropperCancel();
    }
    m_well.setColour(m_model.wellColour());
    apply(changes);
}

bool PSMorvessanAdvancedColourChild::onCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_GRADIENT:
        if (code == kGradientSelectionMade) {
            apply(m_model.select(m_gradient.stops().selected()));
        } else if (code == kGradientPositionChanged) {
            apply(m_model.moveSelected(m_gradient.stops().position(m_gradient.stops().selected())));
        } else if (code == kGradientMarkerDoubleClicked) {
            apply(m_model.edit());
        }
        return true;
    case IDC_ADD_STOP: apply(m_model.add()); return true;
    case IDC_REMOVE_STOP: apply(m_model.remove()); return true;
    case IDC_REVERSE: apply(m_model.reverse()); return true;
    case IDC_EDIT_STOP: apply(m_model.edit()); return true;
    case IDC_DROPPER: dropper(code); return true;
    default: break;
    }
    return PSMorvessanPage::onCommand(id, code, control);
}

std::optional<LRESULT> PSMorvessanAdvancedColourChild::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HSCROLL && m_opacity.handleScroll(reinterpret_cast<HWND>(lParam))) {
        return 0;
    }
    return PSMorvessanPage::onMessage(message, wParam, lParam);
}

} // namespace morvessan
