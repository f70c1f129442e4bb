// PSMorvessanManagePresetsDialog: the preset library as a tree of files,
// categories and presets, with a preview and the buttons that change the library.
#pragma once

#include "dialog/PSMorvessanManagePresetsModel.h"
#include "windows/dialogs/VXPSPluginDialog.h"
#include "windows/widgets/PSMorvessanPresetPreviewControl.h"
#include "windows/widgets/PSMorvessanPresetTreeControl.h"

namespace morvessan {

class PSMorvessanDialogServices;
class PSMorvessanPresetSession;

class PSMorvessanManagePresetsDialog : public VXPSPluginDialog {
public:
    PSMorvessanManagePresetsDialog(PSMorvessanPresetSession& presets, PSMorvessanDialogServices& services);
    // Runs the dialog; every file is saved on OK and read again on Cancel.
    void run(HWND owner);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::optional<LRESULT> onTreeNotify(const NMHDR& header);
    // The tree follows the library; the selection, preview and buttons follow the tree.
    void refreshTree();
    void selectionChanged();
    std::optional<std::string> askName(int mode);
    void submit();
    void dragTo(POINT client);
    void endDrag(POINT client);
    void stopDragging();

    PSMorvessanPresetSession& m_presets;
    PSMorvessanDialogServices& m_services;
    PSMorvessanManagePresetsModel m_model;
    PSMorvessanPresetTreeControl m_tree;
    PSMorvessanPresetPreviewControl m_preview;
    bool m_refreshing = false;
};

} // namespace morvessan
