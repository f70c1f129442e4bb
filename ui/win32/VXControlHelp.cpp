// Control pop-ups through HtmlHelpA's HH_TP_HELP_WM_HELP, with the viewer loaded when first needed.
#include "ui/win32/VXControlHelp.h"

#include "dialog/PSMorvessanHelpIds.h"
#include "plugin/PSMorvessanPlugin.h"

#include <vector>

namespace morvessan {

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
constexpr UINT kHelpWmHelp = 0x0011; // HH_TP_HELP_WM_HELP

// Loaded once and kept: a pop-up may outlive the dialog that asked for it.
HtmlHelpFunction helpViewer() {
    static const HtmlHelpFunction function = [] {
        HMODULE library = LoadLibraryA("hhctrl.ocx");
        return library
                   ? reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpA")))
                   : nullptr;
    }();
    return function;
}

} // namespace

bool vxShowControlHelp(PSMorvessanPlugin& plugin, const HELPINFO& info, const std::string& topic) {
    const PSMorvessanHelpTable* table = helpTable(topic);
    const HtmlHelpFunction viewer = helpViewer();
    if (!table || !viewer || info.iContextType != HELPINFO_WINDOW) {
        return false;
    }
    const std::vector<std::uint32_t> pairs = helpIdPairs(*table);
    std::vector<DWORD> ids(pairs.begin(), pairs.end());
    std::string path;
    plugin.GetHelpFilePath(path);
    path += topic;
    return viewer(static_cast<HWND>(info.hItemHandle), path.c_str(), kHelpWmHelp,
                  reinterpret_cast<DWORD_PTR>(ids.data())) != nullptr;
}

} // namespace morvessan
