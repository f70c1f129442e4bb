// The gallery: a skinned dialog holding one of every toolkit control, for
// people to look at and for the window tests to drive.
#pragma once

#include "windows/dialogs/VXPSPluginDialog.h"
#include "windows/widgets/VXColourStatic.h"
#include "windows/widgets/VXGraduatedFillCtrl.h"
#include "windows/widgets/VXPSDropperButton.h"
#include "windows/widgets/VXPSImageListBox.h"
#include "windows/widgets/VXToolkitClasses.h"
#include "windows/widgets/VXValueBinding.h"

namespace morvessan {

class Gallery : public VXPSPluginDialog {
public:
    Gallery();

    VXColourStatic m_well;
    VXColourStatic m_well_off;
    VXGraduatedFillCtrl m_gradient;
    VXPSImageListBox m_images;
    VXPSDropperButton m_dropper;
    VXValueBinding m_slider{VXValueRange{1.0, 50.0, 0.1, 1}, 12.5};
    VXValueBinding m_number{VXValueRange{0.0, 32767.0, 1.0, 0}, 42.0};
    int m_changes = 0;
    int m_gradient_notes = 0;

protected:
    bool loadBackgroundImage(VXImage2& image) override;
    bool loadOverlayImage(VXImage2& image) override;
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    VXToolkitClasses m_classes;
};

// A long operation under the progress window: `steps` steps, each pumping once;
// the number of steps done before a cancel (or all of them).
int runProgress(HWND owner, int steps);

} // namespace morvessan
