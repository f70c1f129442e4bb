// VXPSPluginDialog: the base of the plug-in's dialogs: the two colour schemes,
// the composed skin behind every control, skinned buttons and tooltips.
#pragma once

#include "VXLib/VXImage2.h"
#include "dialog/VXColourScheme.h"
#include "windows/toolkit/VXDialog.h"
#include "windows/toolkit/VXGdi.h"
#include "windows/toolkit/VXToolTip.h"

#include <memory>

namespace morvessan {

class VXPSPluginDialog : public VXDialog {
public:
    explicit VXPSPluginDialog(int templateId);
    ~VXPSPluginDialog() override;

    const VXColourScheme& colours() const { return m_colours; }
    const VXColourScheme& listColours() const { return m_list_colours; }
    VXToolTip& toolTips() { return m_tooltips; }
    // The composed skin, null when there is none.
    const VXImage2* skin() const { return m_skin.get(); }

    // Tiles the composed skin over `rect` starting `offset` into the picture; false
    // without a skin (the default erase runs then).
    virtual bool drawBackground(HDC dc, const RECT& rect, POINT offset);
    // Child pages draw the skin of the dialog they sit in, at their own offset.
    void setSkinSource(VXPSPluginDialog* source) { m_skin_source = source; }

protected:
    // The pictures behind the dialog; the defaults give none.
    virtual bool loadBackgroundImage(VXImage2&) { return false; }
    virtual bool loadOverlayImage(VXImage2&) { return false; }

    bool onInitDialog() override;
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void composeSkin();
    // Draws an owner-drawn push button with the scheme.
    void drawButton(const DRAWITEMSTRUCT& item) const;

    VXColourScheme m_colours;
    VXColourScheme m_list_colours;
    VXToolTip m_tooltips;

private:
    HBRUSH controlBrush(HDC dc, HWND control);
    // Where this dialog's client area lies in the skin of the dialog drawing it.
    POINT skinOffset() const;

    std::unique_ptr<VXImage2> m_skin;
    VXImage2 m_skin_section;
    VXBrush m_skin_brush;
    VXBrush m_face_brush;
    VXBrush m_edit_brush;
    VXPSPluginDialog* m_skin_source = nullptr;
};

} // namespace morvessan
