// The Elements sub-page bound to its model: boxes apply on Enter or leaving
// them, "Grain" on every change, the type at once.
#include "dialog/FieldValueRange.h"
#include "windows/dialogs/PSMorvessanAdvancedTextureChild.h"

#include "dialog/PSMorvessanChange.h"
#include "windows/dialogs/PSMorvessanPluginDialog.h"
#include "resources/dialogs/DialogIds.h"

#include <vector>

namespace morvessan {

namespace {

std::string windowText(HWND window) {
    std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

} // namespace

PSMorvessanAdvancedTextureChild::PSMorvessanAdvancedTextureChild(PSMorvessanPluginDialog& owner,
                                                                 PSMorvessanAdvancedTextureChildModel& model)
    : PSMorvessanPage(IDD_ELEMENTS_PAGE, owner), m_model(model), m_spectrum(model, m_colours),
      m_seed(fieldValueRange(TextureFieldId::NoiseSeed)), m_bands(fieldValueRange(TextureFieldId::NoiseLevel)),
      m_grain(fieldValueRange(TextureFieldId::NoiseParameter)) {}

bool PSMorvessanAdvancedTextureChild::onInitDialog() {
    PSMorvessanPage::onInitDialog();
    std::vector<std::string> types(PSMorvessanAdvancedTextureChildModel::kTypeNames.begin(),
                                   PSMorvessanAdvancedTextureChildModel::kTypeNames.end());
    fillCombo(IDC_TYPE, types, m_model.typeIndex());
    m_spectrum.attach(item(IDC_SPECTRUM));
    m_seed.bind(nullptr, item(IDC_SEED), nullptr,
                [this](double) { apply(m_model.setSeedText(m_seed.field().text())); });
    m_bands.bind(nullptr, item(IDC_BANDS), item(IDC_BANDS_SPIN),
                 [this](double) { apply(m_model.setBandsText(m_bands.field().text())); });
    m_grain.bind(nullptr, item(IDC_GRAIN), item(IDC_GRAIN_SPIN),
                 [this](double) { apply(m_model.setGrainText(m_grain.field().text())); });
    refresh(m_model.refresh());
    return false;
}

void PSMorvessanAdvancedTextureChild::refresh(unsigned changes) {
    m_loading = true;
    if (changes & kChangeFields) {
        SendMessageA(item(IDC_TYPE), CB_SETCURSEL, static_cast<WPARAM>(m_model.typeIndex()), 0);
        m_seed.setText(m_model.seedText());
        m_bands.setText(m_model.bandsText());
        m_grain.setText(m_model.grainText());
    }
    if (changes & kChangeFieldVisibility) {
        const bool grain = m_model.grainVisible();
        showItem(IDC_GRAIN_LABEL, grain);
        m_grain.setVisible(grain);
        showItem(IDC_BANDS_LABEL, !grain);
        m_bands.setVisible(!grain);
        showItem(IDC_SPECTRUM_LABEL, !grain);
        showItem(IDC_SPECTRUM, !grain);
    }
    if (changes & kChangeSpectrum) {
        m_spectrum.repaint();
    }
    m_loading = false;
}

bool PSMorvessanAdvancedTextureChild::onCommand(int id, int code, HWND control) {
    if (m_seed.handleCommand(control, code) || m_bands.handleCommand(control, code)) {
        return true;
    }
    switch (id) {
    case IDC_GRAIN:
        // Grain follows every keystroke that leaves a number in the box.
        if (code == EN_CHANGE && !m_loading) {
            VXValueField typed = m_grain.field();
            if (typed.setText(windowText(control))) {
                apply(m_model.setGrainText(typed.text()));
            }
        } else {
            m_grain.handleCommand(control, code);
        }
        return true;
    case IDC_TYPE:
        if (code == CBN_SELCHANGE) {
            apply(m_model.chooseType(static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0))));
        }
        return true;
    case IDC_RANDOMISE: apply(m_model.randomiseSeed()); return true;
    case IDC_SPECTRUM:
        if (code == PSMorvessanNoiseWeightsControl::kChanged) {
            apply(m_spectrum.lastChanges());
        }
        return true;
    default: break;
    }
    return PSMorvessanPage::onCommand(id, code, control);
}

std::optional<LRESULT> PSMorvessanAdvancedTextureChild::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (m_bands.handleNotify(header) || m_grain.handleNotify(header)) {
            return 0;
        }
    }
    return PSMorvessanPage::onMessage(message, wParam, lParam);
}

} // namespace morvessan
