// VXValueBinding: ties a trackbar, an edit box and a spin button (any of them
// optional) to one VXValueField, so all show the same value under the same rules.
#pragma once

#include "dialog/VXValueField.h"
#include "windows/toolkit/VXWnd.h"

#include <functional>

namespace morvessan {

class VXValueBinding {
public:
    // Called after the user changed the value through any of the controls.
    using Changed = std::function<void(double value)>;

    explicit VXValueBinding(VXValueRange range, double value = 0.0) : m_field(range, value) {}
    void bind(HWND slider, HWND edit, HWND spin, Changed changed);

    double value() const { return m_field.value(); }
    // Shows `value` (clamped) without telling anyone.
    void setValue(double value);
    // Shows the number `text` holds (as the field reads typed text), without telling anyone.
    void setText(const std::string& text);
    void setEnabled(bool enabled) const;
    void setVisible(bool visible) const;
    const VXValueField& field() const { return m_field; }

    // The parent forwards its WM_HSCROLL, WM_VSCROLL, WM_COMMAND and WM_NOTIFY here;
    // true when the message was one of ours.
    bool handleScroll(HWND control);
    bool handleCommand(HWND control, int code);
    bool handleNotify(const NMHDR& header);

private:
    // The edit box applies what was typed on Enter and when it loses the focus.
    class Edit : public VXWnd {
    public:
        explicit Edit(VXValueBinding& owner) : m_owner(owner) {}

    protected:
        LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        VXValueBinding& m_owner;
    };

    void commitText();
    void show(HWND except) const;
    void changed();

    VXValueField m_field;
    HWND m_slider = nullptr;
    HWND m_spin = nullptr;
    Edit m_edit{*this};
    Changed m_changed;
    mutable bool m_showing = false;
};

} // namespace morvessan
