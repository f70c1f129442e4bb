// VXPSPreviewControl: shows one of the filter's proxies fitted into its client
// area and turns the pointer into the model's press, drag, release, double click and wheel.
#pragma once

#include "VXLib/VXImage2.h"
#include "dialog/VXColourScheme.h"
#include "dialog/VXPSPreviewControlModel.h"
#include "windows/widgets/VXCustomControl.h"

namespace morvessan {

class PSMorvessanPreviewControlModel;

class VXPSPreviewControl : public VXCustomControl {
public:
    static constexpr const char* kClassName = "VXPSPreviewControl";

    // `textureModel` is set for the "Preview Image", whose pointer edits the texture.
    VXPSPreviewControl(VXPSPreviewControlModel& model, const VXColourScheme& scheme,
                       PSMorvessanPreviewControlModel* textureModel = nullptr)
        : m_model(model), m_scheme(scheme), m_texture_model(textureModel) {}

    bool attach(HWND window);
    // What the last notification's action changed (the model's change bits).
    unsigned lastChanges() const { return m_changes; }
    VXPSPreviewControlModel& model() { return m_model; }

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void draw(HDC dc, const RECT& client) override;
    LRESULT dialogCode() const override { return m_texture_model ? DLGC_WANTARROWS : 0; }

private:
    void notify(int code, unsigned changes);

    VXPSPreviewControlModel& m_model;
    const VXColourScheme& m_scheme;
    PSMorvessanPreviewControlModel* m_texture_model;
    VXImage2 m_composed;
    bool m_pressed = false;
    POINT m_press{};
    unsigned m_changes = 0;
};

} // namespace morvessan
