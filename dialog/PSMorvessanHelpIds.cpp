// The help id tables: a control's help id is its own id, except where two
// controls are one field (a box and its spin buttons) and share a text.
#include "dialog/PSMorvessanHelpIds.h"

#include "resources/dialogs/DialogIds.h"

#include <initializer_list>

namespace morvessan {

namespace {

// The standard button ids (the resource compiler's values, without <windows.h>).
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kHelp = 9;

PSMorvessanHelpId same(int control) { return PSMorvessanHelpId{control, static_cast<std::uint32_t>(control)}; }

std::vector<PSMorvessanHelpId> sameIds(std::initializer_list<int> controls) {
    std::vector<PSMorvessanHelpId> ids;
    for (int control : controls) {
        ids.push_back(same(control));
    }
    return ids;
}

std::vector<PSMorvessanHelpTable> makeTables() {
    std::vector<PSMorvessanHelpTable> tables;
    PSMorvessanHelpTable main{"::/Text/XMorvessanDialog.txt", sameIds({IDC_ORIGINAL_IMAGE,
                                                                       IDC_PREVIEW_IMAGE,
                                                                       IDC_ZOOM_IN,
                                                                       IDC_ZOOM_RATIO,
                                                                       IDC_ZOOM_OUT,
                                                                       IDC_LOCATOR,
                                                                       IDC_SCALE_BY_SOURCE,
                                                                       IDC_OVERWRITE_SOURCE,
                                                                       IDC_OPACITY,
                                                                       IDC_MOVE_LEFT,
                                                                       IDC_MOVE_RIGHT,
                                                                       IDC_MOVE_UP,
                                                                       IDC_MOVE_DOWN,
                                                                       IDC_ZOOM_TEXTURE_IN,
                                                                       IDC_ZOOM_TEXTURE_OUT,
                                                                       IDC_SQUASH_H,
                                                                       IDC_SPREAD_H,
                                                                       IDC_SQUASH_V,
                                                                       IDC_SPREAD_V,
                                                                       IDC_ROTATE_LEFT,
                                                                       IDC_ROTATE_RIGHT,
                                                                       IDC_RESET,
                                                                       IDC_SWITCH_PAGE,
                                                                       IDC_HELP_BUTTON,
                                                                       kOk,
                                                                       kCancel,
                                                                       IDC_BLUR_ON,
                                                                       IDC_BLUR,
                                                                       IDC_NOISE_ON,
                                                                       IDC_NOISE,
                                                                       IDC_TEXTURE_ON,
                                                                       IDC_TEXTURE_AMOUNT,
                                                                       IDC_TEXTURES})};
    main.ids.push_back(PSMorvessanHelpId{IDC_OPACITY_EDIT, IDC_OPACITY});
    tables.push_back(std::move(main));
    tables.push_back({"::/Text/PresetDialog.txt", sameIds({IDC_PRESET_FILE, IDC_CATEGORY, IDC_PRESET_LIST})});
    tables.push_back(
        {"::/Text/CustomizeDialog.txt", sameIds({IDC_C_PRESET_FILE, IDC_C_CATEGORY, IDC_C_PRESET, IDC_ADD_PRESET,
                                                 IDC_MANAGE_PRESETS, IDC_TABS, IDC_SEAMLESS, IDC_SHOW_TILED})});
    PSMorvessanHelpTable elements{"::/Text/CustomizeTextureDialog.txt",
                                  sameIds({IDC_TYPE, IDC_SEED, IDC_RANDOMISE, IDC_BANDS, IDC_GRAIN, IDC_SPECTRUM})};
    elements.ids.push_back(PSMorvessanHelpId{IDC_BANDS_SPIN, IDC_BANDS});
    elements.ids.push_back(PSMorvessanHelpId{IDC_GRAIN_SPIN, IDC_GRAIN});
    tables.push_back(std::move(elements));
    tables.push_back(
        {"::/Text/CustomizeColourDialog.txt", sameIds({IDC_GRADIENT, IDC_STOP_COLOUR, IDC_EDIT_STOP, IDC_DROPPER,
                                                       IDC_STOP_OPACITY, IDC_ADD_STOP, IDC_REMOVE_STOP, IDC_REVERSE})});
    tables.push_back({"::/Text/ManagePresetsDialog.txt",
                      sameIds({IDC_PRESET_TREE, IDC_PRESET_PREVIEW, IDC_ADD_FILE, IDC_ADD_CATEGORY, IDC_DELETE,
                               IDC_SUBMIT, IDC_DOWNLOAD, kOk, kCancel, kHelp})});
    tables.push_back({"::/Text/AddPresetDialog.txt", sameIds({IDC_NAME, kOk, kCancel, kHelp})});
    return tables;
}

} // namespace

const std::vector<PSMorvessanHelpTable>& helpTables() {
    static const std::vector<PSMorvessanHelpTable> tables = makeTables();
    return tables;
}

const PSMorvessanHelpTable* helpTable(const std::string& topic) {
    for (const PSMorvessanHelpTable& table : helpTables()) {
        if (topic == table.topic) {
            return &table;
        }
    }
    return nullptr;
}

std::vector<std::uint32_t> helpIdPairs(const PSMorvessanHelpTable& table) {
    std::vector<std::uint32_t> pairs;
    for (const PSMorvessanHelpId& id : table.ids) {
        pairs.push_back(static_cast<std::uint32_t>(id.control));
        pairs.push_back(id.help);
    }
    pairs.push_back(0);
    pairs.push_back(0);
    return pairs;
}

std::uint32_t helpIdOf(const PSMorvessanHelpTable& table, int control) {
    for (const PSMorvessanHelpId& id : table.ids) {
        if (id.control == control) {
            return id.help;
        }
    }
    return 0;
}

} // namespace morvessan
