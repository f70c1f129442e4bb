// The Manage Presets dialog without its window: the selection and what it
// enables, the preview's preset, the commands, drag and drop, OK and Cancel.
#pragma once

#include "presets/PresetLibrary.h"
#include "presets/PresetManagement.h"

#include <functional>
#include <optional>
#include <string>

namespace morvessan {

class PSMorvessanManagePresetsModel {
public:
    static constexpr const char* kTitle = "Manage Presets";
    static constexpr const char* kHelpTopic = "::/Texture_Management.htm";
    static constexpr const char* kPopupTopic = "::/Text/ManagePresetsDialog.txt";
    static constexpr const char* kSubmissionTopic = "::/Submission.htm";
    static constexpr const char* kNamePopupTopic = "::/Text/AddPresetDialog.txt";

    // Shows the name entry dialog once; the name typed, or nothing on Cancel.
    using NameRequest = std::function<std::optional<std::string>()>;

    // While the pointer drags an item: what to highlight, and whether a drop
    // there would do something (the arrow) or not (the "no" pointer).
    struct DragFeedback {
        std::optional<PresetTreeItem> highlight;
        bool allowed = false;

        bool operator==(const DragFeedback&) const = default;
    };

    explicit PSMorvessanManagePresetsModel(PresetLibrary& library) : m_library(library) {}

    PresetLibrary& library() { return m_library; }

    // --- Selection.
    void select(std::optional<PresetTreeItem> item) { m_selection = item; }
    const std::optional<PresetTreeItem>& selection() const { return m_selection; }
    bool deleteEnabled() const { return m_selection.has_value(); }
    // The preset the preview renders, or null when it is cleared.
    const TexturePreset* previewPreset() const;
    // The file "Submit" sends: the selected item's, or null without a selection.
    PresetFile* submitFile();

    // --- Commands; each returns true when the library changed (the tree refreshes).
    // "Add File": asks until a name is accepted (the check's message shown each
    // time one is refused) or the user cancels; a new file is appended.
    bool addFile(const NameRequest& askName);
    // "Add Category": into the selected item's file; nothing without a selection.
    bool addCategory(const NameRequest& askName);
    // "Delete" of the selected item (refusals show their message).
    bool deleteSelected();
    // The end of an in-place edit with a text; true when the new label stays.
    bool rename(const PresetTreeItem& item, const std::string& name);

    // --- Drag and drop. Files are not dragged: false, and no drag starts.
    bool beginDrag(const PresetTreeItem& item);
    bool dragging() const { return m_dragged.has_value(); }
    // The pointer is over `under` (nothing: over no item).
    DragFeedback dragOver(const std::optional<PresetTreeItem>& under) const;
    // The button is released over `under`; the drag ends. True when something moved.
    bool drop(const std::optional<PresetTreeItem>& under);
    void cancelDrag() { m_dragged.reset(); }

    // --- Closing.
    // OK: every file is saved in library order.
    void ok();
    // Cancel: every file is read again from disk (one never saved keeps what it holds).
    void cancel();

private:
    PresetLibrary& m_library;
    std::optional<PresetTreeItem> m_selection;
    std::optional<PresetTreeItem> m_dragged;
};

} // namespace morvessan
