// PSMorvessanNoiseWeightsControl: the turbulence spectrum: one bar per octave on
// a logarithmic scale, grabbed and dragged to set the octave's weight.
#pragma once

#include "dialog/PSMorvessanAdvancedTextureChildModel.h"
#include "dialog/VXColourScheme.h"
#include "windows/widgets/VXCustomControl.h"

namespace morvessan {

class PSMorvessanNoiseWeightsControl : public VXCustomControl {
public:
    static constexpr int kChanged = 1; // WM_COMMAND code after a drag step

    PSMorvessanNoiseWeightsControl(PSMorvessanAdvancedTextureChildModel& model, const VXColourScheme& scheme)
        : m_model(model), m_scheme(scheme) {}
    unsigned lastChanges() const { return m_changes; }
    PixelRect pixelClient() const;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void draw(HDC dc, const RECT& rect) override;

private:
    PSMorvessanAdvancedTextureChildModel& m_model;
    const VXColourScheme& m_scheme;
    unsigned m_changes = 0;
};

} // namespace morvessan
