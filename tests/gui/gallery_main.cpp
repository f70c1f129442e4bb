// The gallery program: every toolkit control in one skinned dialog, to look at
// and to try by hand. Not shipped.
#include "tests/gui/Gallery.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    SetProcessDPIAware();
    morvessan::Gallery gallery;
    return gallery.doModal(nullptr) == IDOK ? 0 : 1;
}
