// The Manage Presets dialog: reads the tree and the buttons, calls the model,
// and refreshes the tree, the preview and the enabled states after each change.
#include "windows/dialogs/PSMorvessanManagePresetsDialog.h"

#include "windows/dialogs/PSMorvessanAddPresetDialog.h"
#include "windows/dialogs/PSMorvessanControlHelp.h"
#include "windows/dialogs/PSMorvessanSubmitPresetFileDialog.h"
#include "dialog/PSMorvessanDialogServices.h"
#include "dialog/PSMorvessanPresetSession.h"
#include "presets/PresetLibrary.h"
#include "presets/PresetManagement.h"
#include "resources/dialogs/DialogIds.h"

#include <windowsx.h>

namespace morvessan {

PSMorvessanManagePresetsDialog::PSMorvessanManagePresetsDialog(PSMorvessanPresetSession& presets,
                                                               PSMorvessanDialogServices& services)
    : VXPSPluginDialog(IDD_MANAGE_PRESETS), m_presets(presets), m_services(services),
      m_model(presets.GetPresetLibrary()) {}

void PSMorvessanManagePresetsDialog::run(HWND owner) { doModal(owner); }

bool PSMorvessanManagePresetsDialog::onInitDialog() {
    VXPSPluginDialog::onInitDialog();
    m_tree.bind(item(IDC_PRESET_TREE), IDB_PRESET_TREE);
    m_preview.attach(item(IDC_PRESET_PREVIEW));
    m_tooltips.addFromStrings(m_hwnd);
    refreshTree();
    return true;
}

void PSMorvessanManagePresetsDialog::refreshTree() {
    m_refreshing = true;
    m_tree.refresh(m_model.library());
    m_refreshing = false;
    selectionChanged();
}

void PSMorvessanManagePresetsDialog::selectionChanged() {
    m_model.select(m_tree.entryOf(m_tree.selectedItem(), m_model.library()));
    const std::optional<PresetTreeItem>& selection = m_model.selection();
    if (m_model.previewPreset()) {
        const TexturePreset& shown =
            m_model.library().file(selection->file).preset(selection->category, selection->preset);
        m_preview.showPreset([&](VXImage2& image) { return m_presets.RenderPresetThumbnail(shown, image); });
    } else {
        m_preview.clear();
    }
    enableItem(IDC_DELETE, m_model.deleteEnabled());
}

std::optional<std::string> PSMorvessanManagePresetsDialog::askName(int mode) {
    PSMorvessanAddPresetDialog dialog(m_services, static_cast<PSMorvessanAddPresetDialog::Mode>(mode), "");
    return dialog.run(m_hwnd);
}

void PSMorvessanManagePresetsDialog::submit() {
    PresetFile* file = m_model.submitFile();
    if (!file) {
        return;
    }
    PSMorvessanSubmitPresetFileDialog dialog(m_services, *file);
    if (dialog.run(m_hwnd)) {
        submitPresetFile(*file);
    }
}

bool PSMorvessanManagePresetsDialog::onCommand(int id, int code, HWND control) {
    bool changed = false;
    switch (id) {
    case IDC_ADD_FILE:
        changed = m_model.addFile([this] { return askName(PSMorvessanAddPresetDialog::kPresetFile); });
        break;
    case IDC_ADD_CATEGORY:
        changed = m_model.addCategory([this] { return askName(PSMorvessanAddPresetDialog::kCategory); });
        break;
    case IDC_DELETE: changed = m_model.deleteSelected(); break;
    case IDC_SUBMIT: submit(); break;
    case IDC_DOWNLOAD: openMorePresetsPage(); break;
    case IDHELP: m_services.ShowHelpTopic(PSMorvessanManagePresetsModel::kHelpTopic); break;
    case IDOK: m_model.ok(); return VXPSPluginDialog::onCommand(id, code, control);
    case IDCANCEL:
        if (m_model.dragging()) {
            // Esc while dragging drops nothing and keeps the dialog open.
            stopDragging();
            ReleaseCapture();
            return true;
        }
        m_model.cancel();
        return VXPSPluginDialog::onCommand(id, code, control);
    default: return VXPSPluginDialog::onCommand(id, code, control);
    }
    if (changed) {
        refreshTree();
    } else {
        selectionChanged();
    }
    return true;
}

std::optional<LRESULT> PSMorvessanManagePresetsDialog::onTreeNotify(const NMHDR& header) {
    switch (header.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        if (!m_refreshing) {
            selectionChanged();
        }
        return 0;
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW: m_tree.editStarted(); return FALSE;
    case TVN_ENDLABELEDITA: {
        const auto& info = reinterpret_cast<const NMTVDISPINFOA&>(header);
        if (!info.item.pszText) {
            return FALSE;
        }
        const std::optional<PresetTreeItem> entry = m_tree.entryOf(info.item.hItem, m_model.library());
        return entry && m_model.rename(*entry, info.item.pszText) ? TRUE : FALSE;
    }
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW: {
        const auto& info = reinterpret_cast<const NMTREEVIEWA&>(header);
        const std::optional<PresetTreeItem> entry = m_tree.entryOf(info.itemNew.hItem, m_model.library());
        if (entry && m_model.beginDrag(*entry)) {
            SetCapture(m_hwnd);
        }
        return 0;
    }
    default: return std::nullopt;
    }
}

void PSMorvessanManagePresetsDialog::dragTo(POINT client) {
    ClientToScreen(m_hwnd, &client);
    HTREEITEM under = m_tree.itemAt(client);
    const PSMorvessanManagePresetsModel::DragFeedback feedback =
        m_model.dragOver(m_tree.entryOf(under, m_model.library()));
    m_tree.setDropHighlight(feedback.highlight ? under : nullptr);
    SetCursor(LoadCursorA(nullptr, feedback.allowed ? IDC_ARROW : IDC_NO));
}

void PSMorvessanManagePresetsDialog::stopDragging() {
    m_model.cancelDrag();
    m_tree.setDropHighlight(nullptr);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void PSMorvessanManagePresetsDialog::endDrag(POINT client) {
    ClientToScreen(m_hwnd, &client);
    const bool moved = m_model.drop(m_tree.entryOf(m_tree.itemAt(client), m_model.library()));
    ReleaseCapture();
    m_tree.setDropHighlight(nullptr);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    if (moved) {
        refreshTree();
    }
}

std::optional<LRESULT> PSMorvessanManagePresetsDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_PRESET_TREE) {
            if (std::optional<LRESULT> result = onTreeNotify(*header)) {
                return result;
            }
        }
        break;
    }
    case WM_MOUSEMOVE:
        if (m_model.dragging()) {
            dragTo(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (m_model.dragging()) {
            endDrag(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (m_model.dragging()) {
            stopDragging();
        }
        break;
    case WM_HELP:
        showPluginControlHelp(m_services, *reinterpret_cast<const HELPINFO*>(lParam),
                              PSMorvessanManagePresetsModel::kPopupTopic);
        return TRUE;
    default: break;
    }
    return VXPSPluginDialog::onMessage(message, wParam, lParam);
}

} // namespace morvessan
