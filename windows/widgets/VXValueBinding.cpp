// Slider, edit box and spin button kept in step through one value field.
#include "windows/widgets/VXValueBinding.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace morvessan {

void VXValueBinding::bind(HWND slider, HWND edit, HWND spin, Changed changed) {
    m_slider = slider;
    m_spin = spin;
    m_changed = std::move(changed);
    if (edit) {
        m_edit.subclass(edit);
    }
    if (m_slider) {
        SendMessageA(m_slider, TBM_SETRANGEMIN, FALSE, 0);
        SendMessageA(m_slider, TBM_SETRANGEMAX, FALSE, m_field.sliderMaximum());
        SendMessageA(m_slider, TBM_SETLINESIZE, 0, 1);
        SendMessageA(m_slider, TBM_SETPAGESIZE, 0, m_field.sliderMaximum() >= 100 ? m_field.sliderMaximum() / 10 : 1);
    }
    if (m_spin) {
        // The spin only reports steps; the field decides the value.
        SendMessageA(m_spin, UDM_SETRANGE32, static_cast<WPARAM>(-1000000), 1000000);
        SendMessageA(m_spin, UDM_SETPOS32, 0, 0);
    }
    show(nullptr);
}

void VXValueBinding::setValue(double value) {
    m_field.setValue(value);
    show(nullptr);
}

void VXValueBinding::setText(const std::string& text) {
    m_field.setText(text);
    show(nullptr);
}

void VXValueBinding::setEnabled(bool enabled) const {
    for (HWND control : {m_slider, m_edit.hwnd(), m_spin}) {
        if (control) {
            EnableWindow(control, enabled ? TRUE : FALSE);
        }
    }
}

void VXValueBinding::setVisible(bool visible) const {
    for (HWND control : {m_slider, m_edit.hwnd(), m_spin}) {
        if (control) {
            ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
        }
    }
}

void VXValueBinding::show(HWND except) const {
    m_showing = true;
    if (m_slider && m_slider != except) {
        SendMessageA(m_slider, TBM_SETPOS, TRUE, m_field.sliderPosition());
    }
    if (m_edit.hwnd() && m_edit.hwnd() != except) {
        SetWindowTextA(m_edit.hwnd(), m_field.text().c_str());
    }
    m_showing = false;
}

void VXValueBinding::changed() {
    if (m_changed) {
        m_changed(m_field.value());
    }
}

void VXValueBinding::commitText() {
    HWND edit = m_edit.hwnd();
    const int length = GetWindowTextLengthA(edit);
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(edit, text.data(), length + 1);
    const double before = m_field.value();
    m_field.setText(text.data());
    // Garbage or an out-of-range number shows the value that holds.
    show(nullptr);
    if (m_field.value() != before) {
        changed();
    }
}

bool VXValueBinding::handleScroll(HWND control) {
    if (!m_slider || control != m_slider) {
        return false;
    }
    const int position = static_cast<int>(SendMessageA(m_slider, TBM_GETPOS, 0, 0));
    if (m_field.setSliderPosition(position)) {
        show(m_slider);
        changed();
    }
    return true;
}

bool VXValueBinding::handleCommand(HWND control, int code) {
    if (!m_edit.hwnd() || control != m_edit.hwnd()) {
        return false;
    }
    if (code == EN_KILLFOCUS && !m_showing) {
        commitText();
    }
    return true;
}

bool VXValueBinding::handleNotify(const NMHDR& header) {
    if (!m_spin || header.hwndFrom != m_spin || header.code != UDN_DELTAPOS) {
        return false;
    }
    const auto& delta = reinterpret_cast<const NMUPDOWN&>(header);
    if (m_field.stepBy(delta.iDelta)) {
        show(nullptr);
        changed();
    }
    return true;
}

LRESULT VXValueBinding::Edit::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        // Enter applies the number instead of pressing the dialog's default button.
        if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
            reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN) {
            return DLGC_WANTMESSAGE | defaultProc(message, wParam, lParam);
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            m_owner.commitText();
            SendMessageA(m_hwnd, EM_SETSEL, 0, -1);
            return 0;
        }
        if (wParam == VK_UP || wParam == VK_DOWN) {
            if (m_owner.m_field.stepBy(wParam == VK_UP ? 1 : -1)) {
                m_owner.show(nullptr);
                m_owner.changed();
            }
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r') {
            return 0;
        }
        break;
    default: break;
    }
    return defaultProc(message, wParam, lParam);
}

} // namespace morvessan
