// The customise page: pickers, preset management buttons, the seamless choice
// and the tab strip that shows one of the three sub-pages in its display area.
#include "windows/dialogs/PSMorvessanAdvancedChild.h"

#include "dialog/PSMorvessanChange.h"
#include "windows/dialogs/PSMorvessanAddPresetDialog.h"
#include "windows/dialogs/PSMorvessanManagePresetsDialog.h"
#include "windows/dialogs/PSMorvessanPluginDialog.h"
#include "resources/dialogs/DialogIds.h"

#include <commctrl.h>

namespace morvessan {

PSMorvessanAdvancedChild::PSMorvessanAdvancedChild(PSMorvessanPluginDialog& owner, PSMorvessanAdvancedChildModel& model)
    : PSMorvessanPage(IDD_CUSTOMISE_PAGE, owner), m_model(model), m_preset_combo(model, m_colours, m_list_colours),
      m_texture(owner, model.texturePage()), m_colour(owner, model.colourPage()), m_extras(owner, model.extrasPage()) {}

bool PSMorvessanAdvancedChild::onInitDialog() {
    m_model.beginInit();
    PSMorvessanPage::onInitDialog();
    m_preset_combo.attach(item(IDC_C_PRESET));
    HWND tabs = item(IDC_TABS);
    for (int i = 0; i < static_cast<int>(PSMorvessanAdvancedChildModel::kTabNames.size()); ++i) {
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(PSMorvessanAdvancedChildModel::kTabNames[static_cast<std::size_t>(i)]);
        SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
    }
    // The sub-pages sit in the tab strip's display area, above the strip in the z-order.
    RECT area = itemRect(IDC_TABS);
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (int i = 0; i < 3; ++i) {
        PSMorvessanPage& page = subPage(i);
        page.createIn(m_hwnd, area);
        SetWindowPos(page.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    m_model.subPagesCreated();
    refreshSeamless(kChangeFields);
    selectTab(m_model.selectedTab());
    m_model.endInit();
    return false;
}

PSMorvessanPage& PSMorvessanAdvancedChild::subPage(int tab) {
    if (tab == PSMorvessanAdvancedChildModel::kColoursTab) {
        return m_colour;
    }
    if (tab == PSMorvessanAdvancedChildModel::kEffectsTab) {
        return m_extras;
    }
    return m_texture;
}

void PSMorvessanAdvancedChild::selectTab(int tab) {
    const unsigned changes = m_model.selectTab(tab);
    SendMessageA(item(IDC_TABS), TCM_SETCURSEL, static_cast<WPARAM>(m_model.selectedTab()), 0);
    for (int i = 0; i < 3; ++i) {
        ShowWindow(subPage(i).hwnd(), i == m_model.selectedTab() ? SW_SHOW : SW_HIDE);
    }
    if (m_model.selectedTab() == PSMorvessanAdvancedChildModel::kEffectsTab) {
        apply(changes | m_extras.shown());
    } else if (changes) {
        apply(changes);
    }
}

void PSMorvessanAdvancedChild::refresh(unsigned changes) {
    if (changes & kChangeFileList) {
        fillCombo(IDC_C_PRESET_FILE, m_model.fileNames(), m_model.selectedFile());
    }
    if (changes & kChangeCategoryList) {
        fillCombo(IDC_C_CATEGORY, m_model.categoryNames(), m_model.selectedCategory());
    }
    if (changes & kChangePresetList) {
        m_model.updatePresetGrid([this] {
            m_preset_combo.categoryChanged();
            m_preset_combo.setSelected(m_model.selectedPreset());
        });
    }
    refreshSeamless(changes);
    m_texture.refresh(changes);
    m_colour.refresh(changes);
    m_extras.refresh(changes);
}

void PSMorvessanAdvancedChild::refreshSeamless(unsigned changes) {
    if (!(changes & (kChangePreview | kChangeFields | kChangeEnabledStates | kChangeSubPages))) {
        return;
    }
    PSMorvessanSeamlessModel& seamless = m_owner.model().seamless();
    // A preset or a transformation may have taken the tile away: the tiled view ends.
    const unsigned more = (changes & (kChangePreview | kChangeSubPages)) ? seamless.refresh() : kChangeNothing;
    setChecked(IDC_SEAMLESS, seamless.seamless());
    enableItem(IDC_SEAMLESS, seamless.seamlessEnabled());
    setChecked(IDC_SHOW_TILED, seamless.showTiled());
    enableItem(IDC_SHOW_TILED, seamless.showTiledEnabled());
    // Its tip says what it does, or, while it is off, why (the command line's words).
    m_tooltips.add(item(IDC_SEAMLESS), seamless.seamlessTip());
    if (more & kChangeOutputPreview) {
        apply(kChangeOutputPreview);
    }
}

void PSMorvessanAdvancedChild::addPreset() {
    const unsigned changes = m_model.addPreset([this](const std::string& proposal) {
        PSMorvessanAddPresetDialog dialog(m_owner.model().services(), PSMorvessanAddPresetDialog::kPreset, proposal);
        return dialog.run(m_owner.hwnd());
    });
    apply(changes);
}

bool PSMorvessanAdvancedChild::onCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_C_PRESET_FILE:
        if (code == CBN_SELCHANGE) {
            apply(m_model.chooseFile(static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0))));
        }
        return true;
    case IDC_C_CATEGORY:
        if (code == CBN_SELCHANGE) {
            apply(m_model.chooseCategory(static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0))));
        }
        return true;
    case IDC_C_PRESET:
        if (code == PSMorvessanPresetCombo::kSelectionChanged) {
            apply(m_model.choosePreset(m_preset_combo.selected()));
        }
        return true;
    case IDC_ADD_PRESET: addPreset(); return true;
    case IDC_SEAMLESS:
        if (code == BN_CLICKED) {
            apply(m_owner.model().seamless().setSeamless(isChecked(IDC_SEAMLESS)));
        }
        return true;
    case IDC_SHOW_TILED:
        if (code == BN_CLICKED) {
            apply(m_owner.model().seamless().setShowTiled(isChecked(IDC_SHOW_TILED)));
        }
        return true;
    case IDC_MANAGE_PRESETS: {
        PSMorvessanManagePresetsDialog dialog(m_owner.model().presets(), m_owner.model().services());
        dialog.run(m_owner.hwnd());
        apply(m_model.presetsManaged());
        return true;
    }
    default: break;
    }
    return PSMorvessanPage::onCommand(id, code, control);
}

std::optional<LRESULT> PSMorvessanAdvancedChild::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_TABS && header->code == TCN_SELCHANGE) {
            selectTab(static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
            return 0;
        }
    }
    return PSMorvessanPage::onMessage(message, wParam, lParam);
}

} // namespace morvessan
