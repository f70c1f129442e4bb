// VXPSDropperButton: press and drag to pick a colour off the screen; the parent
// hears each move, the release and a cancel, and asks where and what is under the pointer.
#pragma once

#include "dialog/VXColourScheme.h"
#include "windows/widgets/VXCustomControl.h"

#include <cstdint>

namespace morvessan {

class VXPSDropperButton : public VXCustomControl {
public:
    static constexpr const char* kClassName = "VXPSDropperButton";
    // WM_COMMAND codes sent to the parent.
    static constexpr int kDropperMoved = 1;
    static constexpr int kDropperPicked = 2;
    static constexpr int kDropperCancelled = 3;

    explicit VXPSDropperButton(const VXColourScheme& scheme) : m_scheme(scheme) {}
    // Where the pointer is (screen coordinates) and the colour (0x00BBGGRR) shown there.
    POINT point() const { return m_point; }
    std::uint32_t colourUnderPointer() const;
    bool isPicking() const { return m_picking; }

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void draw(HDC dc, const RECT& client) override;
    LRESULT dialogCode() const override { return m_picking ? DLGC_WANTALLKEYS : 0; }

private:
    void finish(int code);

    const VXColourScheme& m_scheme;
    POINT m_point{};
    bool m_picking = false;
};

} // namespace morvessan
