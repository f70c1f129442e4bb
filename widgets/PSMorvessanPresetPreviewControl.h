// PSMorvessanPresetPreviewControl: the Manage Presets preview: the chosen preset
// rendered at the control's size, or the button face when no preset is chosen.
#pragma once

#include "VXLib/VXImage2.h"
#include "ui/win32/VXWnd.h"

#include <memory>

namespace morvessan {

class PSMorvessanEditingSession;
class PresetFile;

class PSMorvessanPresetPreviewControl : public VXWnd {
public:
    static constexpr const char* kClassName = "PSMorvessanPresetPreviewControl";

    // Renders preset `preset` of category `category` of `file` through the plug-in's
    // thumbnail routine at the client size, and repaints.
    void showPreset(PSMorvessanEditingSession& session, const PresetFile& file, int category, int preset);
    // Drops the picture and repaints.
    void clear();
    bool hasPicture() const { return m_image != nullptr; }

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::unique_ptr<VXImage2> m_image;
};

} // namespace morvessan
