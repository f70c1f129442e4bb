// PSMorvessanAdvancedColourChild: the Colours sub-page: the gradient strip, the
// selected stop's colour well and opacity, "&Add", "Re&move", "&Reverse", "&Edit" and the dropper.
#pragma once

#include "dialog/PSMorvessanAdvancedColourChildModel.h"
#include "windows/dialogs/PSMorvessanPage.h"
#include "windows/widgets/VXColourStatic.h"
#include "windows/widgets/VXGraduatedFillCtrl.h"
#include "windows/widgets/VXPSDropperButton.h"
#include "windows/widgets/VXValueBinding.h"

namespace morvessan {

class PSMorvessanAdvancedColourChild : public PSMorvessanPage {
public:
    PSMorvessanAdvancedColourChild(PSMorvessanPluginDialog& owner, PSMorvessanAdvancedColourChildModel& model);
    void refresh(unsigned changes) override;

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void dropper(int code);

    PSMorvessanAdvancedColourChildModel& m_model;
    VXGraduatedFillCtrl m_gradient;
    VXColourStatic m_well;
    VXPSDropperButton m_dropper;
    VXValueBinding m_opacity{VXValueRange{0.0, 255.0, 1.0, 0}};
};

} // namespace morvessan
