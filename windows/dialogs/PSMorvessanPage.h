// PSMorvessanPage: a page (or sub-page) of the main dialog: a child dialog on
// the main dialog's skin that reloads its controls when told what changed.
#pragma once

#include "windows/dialogs/VXPSPluginDialog.h"

namespace morvessan {

class PSMorvessanPluginDialog;

class PSMorvessanPage : public VXPSPluginDialog {
public:
    PSMorvessanPage(int templateId, PSMorvessanPluginDialog& owner);

    // Creates the page hidden in `parent` at `rect` (parent's client coordinates).
    bool createIn(HWND parent, const RECT& rect);
    // Reloads the controls that `changes` (PSMorvessanChange bits) name.
    virtual void refresh(unsigned changes) = 0;

protected:
    bool onInitDialog() override;
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Tooltips of every control from the string table: the text after the first line break.
    void addToolTipsFromStrings();
    // Hands what a model operation changed to the main dialog.
    void apply(unsigned changes);
    // Selects `index` in a drop-down list after filling it with `names`.
    void fillCombo(int id, const std::vector<std::string>& names, int index) const;

    PSMorvessanPluginDialog& m_owner;
};

} // namespace morvessan
