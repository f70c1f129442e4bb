// PSMorvessanAdvancedExtrasChild: the Effects sub-page: blur, noise and texture
// picture, each with its check box and slider, and the texture picker.
#pragma once

#include "dialog/FieldValueRange.h"
#include "dialog/PSMorvessanAdvancedExtrasChildModel.h"
#include "windows/dialogs/PSMorvessanPage.h"
#include "windows/widgets/PSMorvessanTextureListBox.h"
#include "windows/widgets/VXValueBinding.h"

namespace morvessan {

class PSMorvessanAdvancedExtrasChild : public PSMorvessanPage {
public:
    PSMorvessanAdvancedExtrasChild(PSMorvessanPluginDialog& owner, PSMorvessanAdvancedExtrasChildModel& model);
    void refresh(unsigned changes) override;
    // The page comes into view: the first time, the textures folder is scanned
    // under the progress window. Returns what changed.
    unsigned shown();
    PSMorvessanTextureListBox& textures() { return m_textures; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void amountsMoved();

    PSMorvessanAdvancedExtrasChildModel& m_model;
    PSMorvessanTextureListBox m_textures;
    VXValueBinding m_blur{fieldValueRange(TextureFieldId::Blur)};
    VXValueBinding m_noise{fieldValueRange(TextureFieldId::Noise)};
    VXValueBinding m_texture_amount{fieldValueRange(TextureFieldId::TextureAmount)};
};

} // namespace morvessan
