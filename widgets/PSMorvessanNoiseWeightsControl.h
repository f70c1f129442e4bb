// PSMorvessanNoiseWeightsControl: the turbulence spectrum: one bar per octave on
// a logarithmic scale, grabbed and dragged to set the octave's weight.
#pragma once

#include "dialog/PSMorvessanAdvancedTextureChildModel.h"
#include "dialog/VXColourScheme.h"
#include "dialog/win32/VXWnd.h"

namespace morvessan {

class PSMorvessanPlugin;

class PSMorvessanNoiseWeightsControl : public VXWnd {
public:
    static constexpr int kChanged = 1;  // WM_COMMAND code after a drag step

    PSMorvessanNoiseWeightsControl(PSMorvessanAdvancedTextureChildModel& model, const VXColourScheme& scheme,
                                   PSMorvessanPlugin& plugin)
        : m_model(model), m_scheme(scheme), m_plugin(plugin) {}
    unsigned lastChanges() const { return m_changes; }
    PixelRect client() const;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void paint(HDC dc) const;

    PSMorvessanAdvancedTextureChildModel& m_model;
    const VXColourScheme& m_scheme;
    PSMorvessanPlugin& m_plugin;
    unsigned m_changes = 0;
};

} // namespace morvessan
