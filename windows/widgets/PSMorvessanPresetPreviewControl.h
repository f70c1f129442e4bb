// PSMorvessanPresetPreviewControl: the Manage Presets preview: the chosen preset
// rendered at the control's size, or the button face when no preset is chosen.
#pragma once

#include "VXLib/VXImage2.h"
#include "windows/toolkit/VXWnd.h"

#include <functional>
#include <memory>

namespace morvessan {

class PSMorvessanPresetPreviewControl : public VXWnd {
public:
    static constexpr const char* kClassName = "PSMorvessanPresetPreviewControl";

    // Makes a 24-bit picture at the client size, has `render` draw the preset into
    // it (false: no picture) and repaints; the dialog says how a preset is drawn.
    void showPreset(const std::function<bool(VXImage2&)>& render);
    // Drops the picture and repaints.
    void clear();
    bool hasPicture() const { return m_image != nullptr; }

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::unique_ptr<VXImage2> m_image;
};

} // namespace morvessan
