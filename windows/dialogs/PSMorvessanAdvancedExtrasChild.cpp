// The Effects sub-page bound to its model, with the scan of the textures
// folder under the cancellable progress window.
#include "windows/dialogs/PSMorvessanAdvancedExtrasChild.h"

#include "dialog/PSMorvessanChange.h"
#include "windows/dialogs/PSMorvessanPluginDialog.h"
#include "windows/dialogs/VXPSProgressDialog.h"
#include "resources/dialogs/DialogIds.h"

#include <memory>

namespace morvessan {

PSMorvessanAdvancedExtrasChild::PSMorvessanAdvancedExtrasChild(PSMorvessanPluginDialog& owner,
                                                               PSMorvessanAdvancedExtrasChildModel& model)
    : PSMorvessanPage(IDD_EFFECTS_PAGE, owner), m_model(model), m_textures(m_list_colours) {}

bool PSMorvessanAdvancedExtrasChild::onInitDialog() {
    PSMorvessanPage::onInitDialog();
    m_textures.attach(item(IDC_TEXTURES));
    const RECT list = m_textures.clientRect();
    const int cell = (list.right - list.left) / 3;
    m_textures.setCellSize(cell, cell);
    const auto moved = [this](double) { amountsMoved(); };
    m_blur.bind(item(IDC_BLUR), nullptr, nullptr, moved);
    m_noise.bind(item(IDC_NOISE), nullptr, nullptr, moved);
    m_texture_amount.bind(item(IDC_TEXTURE_AMOUNT), nullptr, nullptr, moved);
    refresh(kChangeFields | kChangeEnabledStates);
    return false;
}

unsigned PSMorvessanAdvancedExtrasChild::shown() {
    if (m_model.textures().scanned()) {
        return m_model.shown();
    }
    // The owner (the main dialog) is disabled while the progress window is up.
    SetActiveWindow(m_owner.hwnd());
    auto progress = std::make_unique<VXPSProgressDialog>(PSMorvessanTextureLibraryModel::kProgressTitle);
    progress->SetRange(0, PSMorvessanTextureLibraryModel::kProgressRange);
    progress->SetPosition(PSMorvessanTextureLibraryModel::kProgressStart);
    progress->Create();
    const unsigned changes = m_model.shown([&progress](int processed) {
        progress->SetPosition(processed);
        return progress->Pump();
    });
    progress.reset();
    SetActiveWindow(m_owner.hwnd());
    m_textures.fill(m_model.textures());
    return changes | kChangeTextureList;
}

void PSMorvessanAdvancedExtrasChild::amountsMoved() {
    apply(m_model.setAmounts(static_cast<int>(m_blur.value()), static_cast<int>(m_noise.value()),
                             static_cast<int>(m_texture_amount.value())));
}

void PSMorvessanAdvancedExtrasChild::refresh(unsigned changes) {
    if (changes & kChangeSubPages) {
        changes |= m_model.refresh();
    }
    if (changes & (kChangeFields | kChangeSubPages)) {
        setChecked(IDC_BLUR_ON, m_model.blurEnabled());
        setChecked(IDC_NOISE_ON, m_model.noiseEnabled());
        setChecked(IDC_TEXTURE_ON, m_model.textureEnabled());
        m_blur.setValue(m_model.blurAmount());
        m_noise.setValue(m_model.noiseAmount());
        m_texture_amount.setValue(m_model.textureAmount());
    }
    if (changes & kChangeTextureList) {
        if (m_textures.count() != m_model.textures().count()) {
            m_textures.fill(m_model.textures());
        }
        m_textures.setSelected(m_model.textures().selectedIndex());
    }
    if (changes & (kChangeEnabledStates | kChangeFields | kChangeSubPages)) {
        m_blur.setEnabled(m_model.blurSliderEnabled());
        m_noise.setEnabled(m_model.noiseSliderEnabled());
        m_texture_amount.setEnabled(m_model.textureSliderEnabled());
        m_textures.setEnabled(m_model.textureSliderEnabled());
    }
}

bool PSMorvessanAdvancedExtrasChild::onCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_BLUR_ON: apply(m_model.setBlurEnabled(isChecked(IDC_BLUR_ON))); return true;
    case IDC_NOISE_ON: apply(m_model.setNoiseEnabled(isChecked(IDC_NOISE_ON))); return true;
    case IDC_TEXTURE_ON: apply(m_model.setTextureEnabled(isChecked(IDC_TEXTURE_ON))); return true;
    case IDC_TEXTURES:
        if (code == VXGridControl::kSelectionChanged) {
            apply(m_model.chooseTexture(m_textures.selected()));
        }
        return true;
    default: break;
    }
    return PSMorvessanPage::onCommand(id, code, control);
}

std::optional<LRESULT> PSMorvessanAdvancedExtrasChild::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HSCROLL) {
        HWND control = reinterpret_cast<HWND>(lParam);
        if (m_blur.handleScroll(control) || m_noise.handleScroll(control) || m_texture_amount.handleScroll(control)) {
            return 0;
        }
    }
    return PSMorvessanPage::onMessage(message, wParam, lParam);
}

} // namespace morvessan
