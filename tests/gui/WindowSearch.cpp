// Window search for the window tests.
#include "tests/gui/WindowSearch.h"

namespace morvessan {

namespace {

struct Search {
    int id;
    HWND found;
};

// A named function: only it can carry the system's calling convention, which
// on 32-bit Windows differs from a lambda's.
BOOL CALLBACK matchControl(HWND child, LPARAM data) {
    auto* s = reinterpret_cast<Search*>(data);
    if (GetDlgCtrlID(child) == s->id && IsWindowVisible(child)) {
        s->found = child;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND findControl(HWND root, int id) {
    Search search{id, nullptr};
    EnumChildWindows(root, matchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string windowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

} // namespace morvessan
