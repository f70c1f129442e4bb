// VXPSColourDialog: the resizable colour picker: basic and custom wells, a panel
// and slider around the chosen style, RGB and HSL fields; settings kept per user.
#pragma once

#include "dialog/VXPSColourPickerModel.h"
#include "windows/dialogs/VXPSPluginDialog.h"
#include "windows/widgets/VXColourPanel.h"
#include "windows/widgets/VXColourStatic.h"

#include <memory>
#include <vector>

namespace morvessan {

class VXPSColourDialog : public VXPSPluginDialog {
public:
    explicit VXPSColourDialog(std::uint32_t colour);
    ~VXPSColourDialog() override;

    // Runs the picker over `owner` with the settings of the plug-in's key; on OK
    // writes the chosen colour (0x00BBGGRR) back and returns true.
    static bool pickColour(HWND owner, std::uint32_t& colour);

    VXPSColourPickerModel& model() { return m_model; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Refreshes what the model's change bits name; `typedField` keeps the text being typed.
    void apply(unsigned changes, int typedField = -1);
    void showColour(int changedField);
    void showCustomWells();
    void placeWindow();
    void layoutBottomRow(int width, int height);
    void saveSettings();

    VXPSColourPickerModel m_model;
    std::vector<std::unique_ptr<VXColourStatic>> m_basic;
    std::vector<std::unique_ptr<VXColourStatic>> m_custom;
    VXColourStatic m_current;
    VXColourPanel m_panel;
    VXColourPanel m_slider;
    struct Anchor {
        int id;
        int fromRight;
        int fromBottom;
    };
    std::vector<Anchor> m_anchors;
    SIZE m_natural{};
    bool m_updating = false;
    bool m_saved = false;
};

} // namespace morvessan
