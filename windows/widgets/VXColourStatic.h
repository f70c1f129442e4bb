// VXColourStatic: a colour well: a framed square of one colour (over a
// checkerboard where the colour is partly transparent); a click tells the parent.
#pragma once

#include "dialog/VXColourScheme.h"
#include "windows/widgets/VXCustomControl.h"

#include <cstdint>

namespace morvessan {

class VXColourStatic : public VXCustomControl {
public:
    static constexpr const char* kClassName = "VXColourStatic";
    // Sent to the parent (WM_COMMAND) when the well is clicked.
    static constexpr int kClicked = 1;
    static constexpr int kRightClicked = 2;

    explicit VXColourStatic(const VXColourScheme& scheme) : m_scheme(scheme) {}
    // 0x00BBGGRR; `alpha` 255 is opaque.
    void setColour(std::uint32_t colour, int alpha = 255);
    std::uint32_t colour() const { return m_colour; }
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void draw(HDC dc, const RECT& client) override;
    LRESULT dialogCode() const override { return DLGC_WANTCHARS; }

private:
    const VXColourScheme& m_scheme;
    std::uint32_t m_colour = 0xFFFFFF;
    int m_alpha = 255;
    bool m_selected = false;
};

} // namespace morvessan
