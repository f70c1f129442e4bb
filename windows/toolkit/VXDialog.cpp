// Dialogs from templates: the dialog procedure thunk and the modal loop.
#include "windows/toolkit/VXDialog.h"

#include "windows/toolkit/VXWnd.h"

namespace morvessan {

namespace {

// Messages whose result the dialog manager takes as the procedure's return value.
bool returnsDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG: return true;
    default: return false;
    }
}

} // namespace

VXDialog::~VXDialog() { destroy(); }

void VXDialog::destroy() {
    if (m_hwnd && IsWindow(m_hwnd)) {
        DestroyWindow(m_hwnd);
    }
    m_hwnd = nullptr;
}

INT_PTR VXDialog::doModal(HWND owner) {
    m_modal = true;
    m_ended = false;
    m_result = IDCANCEL;
    if (!CreateDialogParamA(vxModuleInstance(), MAKEINTRESOURCEA(m_template_id), owner, &VXDialog::dialogProc,
                            reinterpret_cast<LPARAM>(this))) {
        m_modal = false;
        return -1;
    }
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (owner) {
        EnableWindow(owner, FALSE);
    }
    if (!m_ended) {
        ShowWindow(m_hwnd, SW_SHOW);
    }
    bool idle = false;
    MSG msg{};
    while (!m_ended) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!idle) {
                idle = true;
                onIdle();
                continue;
            }
        }
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            m_result = IDCANCEL;
            break;
        }
        // Input and painting make the next empty queue a new idle moment.
        if (msg.message != WM_TIMER) {
            idle = false;
        }
        if (!IsDialogMessageA(m_hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // The owner gets its input back before this window goes, so activation returns to it.
    if (owner && ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    destroy();
    m_modal = false;
    return m_result;
}

bool VXDialog::create(HWND parent) {
    m_modal = false;
    return CreateDialogParamA(vxModuleInstance(), MAKEINTRESOURCEA(m_template_id), parent, &VXDialog::dialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void VXDialog::endDialog(INT_PTR result) {
    m_result = result;
    m_ended = true;
    if (!m_modal) {
        destroy();
    } else {
        // Wakes the modal loop should the queue be empty.
        PostMessageA(m_hwnd, WM_NULL, 0, 0);
    }
}

RECT VXDialog::itemRect(int id) const {
    RECT rect{};
    if (HWND control = item(id)) {
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

bool VXDialog::onCommand(int id, int, HWND) {
    if (id == IDOK || id == IDCANCEL) {
        endDialog(id);
        return true;
    }
    return false;
}

std::optional<LRESULT> VXDialog::onMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

INT_PTR VXDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return onInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
        if (onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) {
            return TRUE;
        }
        break;
    case WM_CLOSE:
        if (GetWindowLongA(m_hwnd, GWL_STYLE) & WS_CHILD) {
            break;
        }
        onCommand(IDCANCEL, BN_CLICKED, nullptr);
        return TRUE;
    default: break;
    }
    const std::optional<LRESULT> result = onMessage(message, wParam, lParam);
    if (!result) {
        return FALSE;
    }
    if (returnsDirectly(message)) {
        return static_cast<INT_PTR>(*result);
    }
    SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, *result);
    return TRUE;
}

INT_PTR CALLBACK VXDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    VXDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<VXDialog*>(lParam);
        self->m_hwnd = window;
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<VXDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        self->onDestroy();
        self->m_hwnd = nullptr;
        return FALSE;
    }
    return self->handle(message, wParam, lParam);
}

} // namespace morvessan
