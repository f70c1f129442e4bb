// VXGraduatedFillCtrl: the gradient strip with one marker per colour stop;
// selecting, dragging and double-clicking stops are reported to the parent.
#pragma once

#include "dialog/VXColourScheme.h"
#include "windows/widgets/VXCustomControl.h"
#include "dialog/GradientEditorGeometry.h"
#include "texture/GradientStops.h"

#include <vector>

namespace morvessan {

class VXGraduatedFillCtrl : public VXCustomControl {
public:
    static constexpr const char* kClassName = "VXGraduatedFillCtrl";

    explicit VXGraduatedFillCtrl(const VXColourScheme& scheme) : m_scheme(scheme) {}
    void setStops(const GradientStops& stops);
    const GradientStops& stops() const { return m_stops; }
    GradientStops& stops() { return m_stops; }
    // Redraws after the owner changed the stops.
    void stopsChanged();

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void draw(HDC dc, const RECT& client) override;
    LRESULT dialogCode() const override { return DLGC_WANTARROWS; }

private:
    void rebuildTable();
    void press(int x, int y);
    void drag(int x, int y);
    void release();

    const VXColourScheme& m_scheme;
    GradientStops m_stops;
    std::vector<ColourEntry> m_table;
    bool m_pressed = false;
    bool m_dragging = false;
    int m_press_x = 0;
    int m_press_y = 0;
    int m_start_x = 0;
};

} // namespace morvessan
