// PSMorvessanPresetCombo: the customise page's preset picker: a box showing the
// chosen preset that drops down a grid of 70 x 70 thumbnails of the category.
#pragma once

#include "dialog/PSMorvessanPresetPickersModel.h"
#include "dialog/VXColourScheme.h"
#include "windows/widgets/VXCustomControl.h"
#include "windows/widgets/PSMorvessanPresetsListBox.h"

#include <memory>
#include <string>

namespace morvessan {

class PSMorvessanPresetCombo : public VXCustomControl {
public:
    static constexpr int kSelectionChanged = 1; // WM_COMMAND code: a preset was chosen
    static constexpr int kThumbnailSize = 70;

    PSMorvessanPresetCombo(const PSMorvessanPresetPickersModel& model, const VXColourScheme& scheme,
                           const VXColourScheme& listScheme);
    ~PSMorvessanPresetCombo() override;

    // The category changed: the grid is made anew at the next drop-down.
    void categoryChanged();
    int selected() const { return m_selected; }
    void setSelected(int index);
    // Opens the grid (also F4, Alt+Down, Space); closes it again.
    void dropDown();
    void closeUp(bool chosen);
    HWND dropDownWindow() const;
    // The grid inside the drop-down (valid while it is open).
    PSMorvessanPresetsListBox* grid() { return m_grid.get(); }

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void draw(HDC dc, const RECT& client) override;
    LRESULT dialogCode() const override { return DLGC_WANTARROWS; }

private:
    class DropDown;

    const PSMorvessanPresetPickersModel& m_model;
    const VXColourScheme& m_scheme;
    const VXColourScheme& m_list_scheme;
    int m_selected = -1;
    std::unique_ptr<DropDown> m_drop_down;
    std::unique_ptr<PSMorvessanPresetsListBox> m_grid;
};

} // namespace morvessan
