// VXColourPanel: the colour picker's two-channel panel or one-channel slider,
// drawn around the picker style's channel; pointer and arrow keys set the colour.
#pragma once

#include "dialog/VXColourPanelModel.h"
#include "dialog/VXColourScheme.h"
#include "windows/widgets/VXCustomControl.h"

#include <vector>

namespace morvessan {

class VXColourPanel : public VXCustomControl {
public:
    static constexpr const char* kClassName = "VXColourPanel";
    static constexpr int kChanged = 1; // WM_COMMAND code: the model's colour changed, see lastChanges()

    VXColourPanel(VXPSColourPickerModel& model, const VXColourScheme& scheme, bool isSlider)
        : m_model(model, isSlider), m_scheme(scheme) {}
    // Redraws the picture from the model when `full`, else only the marker.
    void refresh(bool full);
    // What the last pick or key changed, as the picker model's change bits.
    unsigned lastChanges() const { return m_changes; }

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void draw(HDC dc, const RECT& client) override;
    LRESULT dialogCode() const override { return DLGC_WANTARROWS; }

private:
    void renderPicture(int width, int height);
    void pick(int x, int y);
    void changed(unsigned changes);
    RECT inner() const;

    VXColourPanelModel m_model;
    const VXColourScheme& m_scheme;
    unsigned m_changes = 0;
    std::vector<std::uint8_t> m_pixels;
    int m_picture_width = 0;
    int m_picture_height = 0;
    bool m_stale = true;
};

} // namespace morvessan
