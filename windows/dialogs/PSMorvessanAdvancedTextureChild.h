// PSMorvessanAdvancedTextureChild: the Elements sub-page: type, seed and
// "Randomise", turbulence bands or (for Wood) grain, and the turbulence spectrum.
#pragma once

#include "dialog/PSMorvessanAdvancedTextureChildModel.h"
#include "windows/dialogs/PSMorvessanPage.h"
#include "windows/widgets/PSMorvessanNoiseWeightsControl.h"
#include "windows/widgets/VXValueBinding.h"

namespace morvessan {

class PSMorvessanAdvancedTextureChild : public PSMorvessanPage {
public:
    PSMorvessanAdvancedTextureChild(PSMorvessanPluginDialog& owner, PSMorvessanAdvancedTextureChildModel& model);
    void refresh(unsigned changes) override;

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    PSMorvessanAdvancedTextureChildModel& m_model;
    PSMorvessanNoiseWeightsControl m_spectrum;
    VXValueBinding m_seed;
    VXValueBinding m_bands;
    VXValueBinding m_grain;
    bool m_loading = false;
};

} // namespace morvessan
