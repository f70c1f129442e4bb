// Registration of the custom control classes, counted so nested dialogs share it.
#include "windows/widgets/VXToolkitClasses.h"

#include "windows/toolkit/VXWnd.h"
#include "windows/widgets/PSMorvessanPresetPreviewControl.h"
#include "windows/widgets/VXColourPanel.h"
#include "windows/widgets/VXColourStatic.h"
#include "windows/widgets/VXGraduatedFillCtrl.h"
#include "windows/widgets/VXGridControl.h"
#include "windows/widgets/VXPSDropperButton.h"
#include "windows/widgets/VXPSPreviewControl.h"

#include <commctrl.h>

namespace morvessan {

namespace {

int g_users = 0;

const char* const kClasses[] = {VXColourStatic::kClassName,
                                VXColourPanel::kClassName,
                                VXGraduatedFillCtrl::kClassName,
                                VXGridControl::kClassName,
                                VXPSDropperButton::kClassName,
                                VXPSPreviewControl::kClassName,
                                PSMorvessanPresetPreviewControl::kClassName,
                                "VXCustomControl"};

} // namespace

VXToolkitClasses::VXToolkitClasses() {
    if (g_users++ == 0) {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES |
                         ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
        InitCommonControlsEx(&controls);
        for (const char* name : kClasses) {
            VXWnd::registerClass(name);
        }
    }
}

VXToolkitClasses::~VXToolkitClasses() {
    if (--g_users == 0) {
        for (const char* name : kClasses) {
            VXWnd::unregisterClass(name);
        }
    }
}

} // namespace morvessan
