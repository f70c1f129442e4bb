// Control pop-ups through HtmlHelpA's HH_TP_HELP_WM_HELP, with the viewer loaded when first needed.
#include "windows/toolkit/VXControlHelp.h"

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

bool vxShowControlHelp(const HELPINFO& info, const std::string& topicPath, const std::vector<std::uint32_t>& idPairs) {
    const HtmlHelpFunction viewer = helpViewer();
    if (!viewer || info.iContextType != HELPINFO_WINDOW) {
        return false;
    }
    std::vector<DWORD> ids(idPairs.begin(), idPairs.end());
    return viewer(static_cast<HWND>(info.hItemHandle), topicPath.c_str(), kHelpWmHelp,
                  reinterpret_cast<DWORD_PTR>(ids.data())) != nullptr;
}

} // namespace morvessan
