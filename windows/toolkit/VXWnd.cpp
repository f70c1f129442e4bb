// Window base: message dispatch to the C++ object bound to a window.
#include "windows/toolkit/VXWnd.h"

#include <commctrl.h>

namespace morvessan {

namespace {

constexpr UINT_PTR kSubclassId = 0x5658; // "VX"
constexpr const char* kFontProperty = "VXFont";

} // namespace

HINSTANCE vxModuleInstance() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&vxModuleInstance), &module);
    return module;
}

VXWnd::~VXWnd() { detach(); }

bool VXWnd::attach(HWND window) {
    if (!window || m_hwnd) {
        return false;
    }
    m_hwnd = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

bool VXWnd::subclass(HWND window) {
    if (!window || m_hwnd ||
        !SetWindowSubclass(window, &VXWnd::subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_hwnd = window;
    m_subclassed = true;
    return true;
}

bool VXWnd::create(const char* className, const char* text, DWORD style, DWORD exStyle, const RECT& rect, HWND parent,
                   int id) {
    HWND window = CreateWindowExA(exStyle, className, text, style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  vxModuleInstance(), nullptr);
    return window && attach(window);
}

void VXWnd::detach() {
    if (!m_hwnd) {
        return;
    }
    if (m_subclassed) {
        RemoveWindowSubclass(m_hwnd, &VXWnd::subclassProc, kSubclassId);
    } else if (IsWindow(m_hwnd) && GetWindowLongPtrA(m_hwnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
        SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
    }
    m_hwnd = nullptr;
    m_subclassed = false;
}

void VXWnd::invalidate(bool erase) const {
    if (m_hwnd) {
        InvalidateRect(m_hwnd, nullptr, erase ? TRUE : FALSE);
    }
}

void VXWnd::repaint() const {
    if (m_hwnd) {
        InvalidateRect(m_hwnd, nullptr, FALSE);
        UpdateWindow(m_hwnd);
    }
}

RECT VXWnd::clientRect() const {
    RECT rect{};
    if (m_hwnd) {
        GetClientRect(m_hwnd, &rect);
    }
    return rect;
}

bool VXWnd::registerClass(const char* className, HCURSOR cursor, UINT style) {
    WNDCLASSEXA cls{};
    cls.cbSize = sizeof(cls);
    cls.style = style;
    cls.lpfnWndProc = &VXWnd::classProc;
    cls.hInstance = vxModuleInstance();
    cls.hCursor = cursor ? cursor : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    cls.lpszClassName = className;
    if (RegisterClassExA(&cls)) {
        return true;
    }
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void VXWnd::unregisterClass(const char* className) { UnregisterClassA(className, vxModuleInstance()); }

LRESULT VXWnd::onMessage(UINT message, WPARAM wParam, LPARAM lParam) { return defaultProc(message, wParam, lParam); }

LRESULT VXWnd::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_subclassed ? DefSubclassProc(m_hwnd, message, wParam, lParam)
                        : DefWindowProcA(m_hwnd, message, wParam, lParam);
}

void VXWnd::notifyParent(int code) const {
    SendMessageA(GetParent(m_hwnd), WM_COMMAND, MAKEWPARAM(id(), code), reinterpret_cast<LPARAM>(m_hwnd));
}

LRESULT VXWnd::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        const LRESULT result = defaultProc(message, wParam, lParam);
        detach();
        onDestroyed();
        return result;
    }
    return onMessage(message, wParam, lParam);
}

LRESULT CALLBACK VXWnd::classProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The dialog manager sets the font before the control is attached: keep it
    // with the window so every control draws in the dialog's (DPI-scaled) font.
    if (message == WM_SETFONT) {
        SetPropA(window, kFontProperty, reinterpret_cast<HANDLE>(wParam));
        if (LOWORD(lParam)) {
            InvalidateRect(window, nullptr, TRUE);
        }
    } else if (message == WM_GETFONT) {
        return reinterpret_cast<LRESULT>(GetPropA(window, kFontProperty));
    } else if (message == WM_NCDESTROY) {
        RemovePropA(window, kFontProperty);
    }
    auto* self = reinterpret_cast<VXWnd*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->dispatch(message, wParam, lParam);
}

LRESULT CALLBACK VXWnd::subclassProc(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    return reinterpret_cast<VXWnd*>(data)->dispatch(message, wParam, lParam);
}

} // namespace morvessan
