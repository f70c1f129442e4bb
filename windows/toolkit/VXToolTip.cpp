// Tooltips through the common control, with texts copied into the control.
#include "windows/toolkit/VXToolTip.h"

#include "windows/toolkit/VXWnd.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

namespace morvessan {

VXToolTip::~VXToolTip() {
    if (m_hwnd && IsWindow(m_hwnd)) {
        DestroyWindow(m_hwnd);
    }
}

bool VXToolTip::create(HWND owner) {
    m_owner = owner;
    m_hwnd =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, vxModuleInstance(), nullptr);
    if (m_hwnd) {
        // Long captions wrap instead of running off the screen.
        SendMessageA(m_hwnd, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    return m_hwnd != nullptr;
}

void VXToolTip::add(HWND control, const std::string& text) {
    if (!m_hwnd || !control) {
        return;
    }
    TOOLINFOA info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = m_owner;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back('\0');
    info.lpszText = copy.data();
    SendMessageA(m_hwnd, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageA(m_hwnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void VXToolTip::addRect(HWND window, UINT_PTR toolId, const RECT& rect, const std::string& text) {
    if (!m_hwnd) {
        return;
    }
    removeRect(window, toolId);
    TOOLINFOA info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = window;
    info.uId = toolId;
    info.rect = rect;
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back('\0');
    info.lpszText = copy.data();
    SendMessageA(m_hwnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void VXToolTip::removeRect(HWND window, UINT_PTR toolId) {
    if (!m_hwnd) {
        return;
    }
    TOOLINFOA info{};
    info.cbSize = sizeof(info);
    info.hwnd = window;
    info.uId = toolId;
    SendMessageA(m_hwnd, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void VXToolTip::addFromStrings(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        char buffer[512] = {};
        if (id <= 0 || !text(child).empty() ||
            LoadStringA(vxModuleInstance(), static_cast<UINT>(id), buffer, sizeof(buffer)) <= 0) {
            continue;
        }
        const char* tip = std::strchr(buffer, '\n');
        if (tip && tip[1]) {
            add(child, tip + 1);
        }
    }
}

std::string VXToolTip::text(HWND control) const {
    if (!m_hwnd) {
        return {};
    }
    char buffer[512] = {};
    TOOLINFOA info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND;
    info.hwnd = m_owner;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = buffer;
    SendMessageA(m_hwnd, TTM_GETTEXTA, sizeof(buffer), reinterpret_cast<LPARAM>(&info));
    return buffer;
}

} // namespace morvessan
