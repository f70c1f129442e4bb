// The progress window: created over its owner, fed from the running operation.
#include "windows/dialogs/VXPSProgressDialog.h"

#include <commctrl.h>

namespace morvessan {

VXPSProgressDialog::VXPSProgressDialog(std::string title)
    : VXDialog(kTemplateId), m_title(std::move(title)), m_owner(GetActiveWindow()) {}

VXPSProgressDialog::~VXPSProgressDialog() {
    enableOwner();
    destroy();
}

bool VXPSProgressDialog::Create() {
    if (!create(m_owner)) {
        return false;
    }
    SetWindowTextA(m_hwnd, m_title.c_str());
    if (m_owner) {
        // Centre on the owner's centre.
        RECT ownerRect{};
        RECT own{};
        GetWindowRect(m_owner, &ownerRect);
        GetWindowRect(m_hwnd, &own);
        const int width = own.right - own.left;
        const int height = own.bottom - own.top;
        const int x = (ownerRect.left + ownerRect.right) / 2 - width / 2;
        const int y = (ownerRect.top + ownerRect.bottom) / 2 - height / 2;
        SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_owner_disabled = true;
        EnableWindow(m_owner, FALSE);
    }
    EnableWindow(m_hwnd, TRUE);
    ShowWindow(m_hwnd, SW_SHOW);
    SetActiveWindow(m_hwnd);
    Pump();
    return true;
}

void VXPSProgressDialog::SetRange(std::int32_t low, std::int32_t high) {
    m_state.setRange(low, high);
    applyToBar();
}

void VXPSProgressDialog::SetPosition(std::int32_t position) {
    m_state.setPosition(position);
    applyToBar();
}

void VXPSProgressDialog::applyToBar() const {
    if (!m_hwnd) {
        return;
    }
    HWND bar = item(kBarId);
    SendMessageA(bar, PBM_SETRANGE32, static_cast<WPARAM>(m_state.low()), static_cast<LPARAM>(m_state.high()));
    SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(m_state.position()), 0);
}

bool VXPSProgressDialog::Pump() {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The program is ending: stop, and let the outer loop see the quit too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            m_state.cancel();
            break;
        }
        if (!m_hwnd || !IsDialogMessageA(m_hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return !m_state.isCancelled();
}

bool VXPSProgressDialog::onInitDialog() {
    applyToBar();
    return true;
}

bool VXPSProgressDialog::onCommand(int id, int, HWND) {
    if (id == IDCANCEL) {
        m_state.cancel();
        enableOwner();
        destroy();
        return true;
    }
    return false;
}

void VXPSProgressDialog::onDestroy() { enableOwner(); }

void VXPSProgressDialog::enableOwner() {
    if (m_owner_disabled && m_owner && IsWindow(m_owner)) {
        EnableWindow(m_owner, TRUE);
    }
    m_owner_disabled = false;
}

} // namespace morvessan
