// VXPSPreviewLocatorButton: the "<>" button whose press opens the locator popup
// (the whole filter area with the previewed part outlined) until the button is released.
#pragma once

#include "dialog/VXPSLocatorGeometry.h"
#include "windows/toolkit/VXWnd.h"

namespace morvessan {

class VXPSPreviewLocatorPopup;

class VXPSPreviewLocatorButton : public VXWnd {
public:
    VXPSPreviewLocatorButton(VXPSLocatorModel& model, VXPSPreviewSession& preview)
        : m_model(model), m_preview(preview) {}
    ~VXPSPreviewLocatorButton() override;
    // The open popup's window, null when closed.
    HWND popup() const;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class VXPSPreviewLocatorPopup;
    void open();
    void closed();

    VXPSLocatorModel& m_model;
    VXPSPreviewSession& m_preview;
    VXPSPreviewLocatorPopup* m_popup = nullptr; // owned by its window while it exists
};

} // namespace morvessan
