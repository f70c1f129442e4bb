// VXCustomControl: the base of the controls that draw themselves: painting
// through one off-screen buffer, no background erase, and a redraw when focus or enabling changes.
#pragma once

#include "windows/toolkit/VXWnd.h"

namespace morvessan {

class VXCustomControl : public VXWnd {
protected:
    // Draws the whole client area into `dc`, an off-screen copy that is put on
    // the screen in one blit, so nothing flickers while a drag repaints.
    virtual void draw(HDC dc, const RECT& client) = 0;
    // What the control wants from the dialog manager (WM_GETDLGCODE): arrows, chars...
    virtual LRESULT dialogCode() const { return 0; }
    // Paint, erase, dialog code, focus and enabling; everything else passes on.
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

} // namespace morvessan
