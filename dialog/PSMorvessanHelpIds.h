// The pop-up help of the dialogs' controls: for each pop-up text file of the
// help, the controls it explains and the help id of each control's text there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvessan {

struct PSMorvessanHelpId {
    int control;
    std::uint32_t help;
};

struct PSMorvessanHelpTable {
    const char* topic; // "::/Text/....txt"
    std::vector<PSMorvessanHelpId> ids;
};

// Every table; the Effects page's controls are explained with the main dialog's.
const std::vector<PSMorvessanHelpTable>& helpTables();
// The table of `topic`, or null.
const PSMorvessanHelpTable* helpTable(const std::string& topic);
// The pairs as the help viewer takes them: control, help id, ..., ending with 0, 0.
std::vector<std::uint32_t> helpIdPairs(const PSMorvessanHelpTable& table);
// The help id of `control` in `table`, 0 when it has none.
std::uint32_t helpIdOf(const PSMorvessanHelpTable& table, int control);

} // namespace morvessan
