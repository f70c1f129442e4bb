// VXPSZoomRatioStatic: the zoom ratio ("1:3", "2:1"), centred in the default
// GUI font in the scheme's colours; the text comes from whoever owns the zoom.
#pragma once

#include "dialog/VXColourScheme.h"
#include "windows/widgets/VXCustomControl.h"

#include <functional>
#include <string>

namespace morvessan {

class VXPSZoomRatioStatic : public VXCustomControl {
public:
    VXPSZoomRatioStatic(const VXColourScheme& scheme, std::function<std::string()> text)
        : m_scheme(scheme), m_text(std::move(text)) {}
    std::string text() const { return m_text ? m_text() : std::string(); }

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void draw(HDC dc, const RECT& client) override;

private:
    const VXColourScheme& m_scheme;
    std::function<std::string()> m_text;
};

} // namespace morvessan
