// VXDialog: a dialog made from a template of the module's resources, run
// modally with its own message loop (for the idle moment) or created modeless or as a child page.
#pragma once

#include <windows.h>

#include <optional>

namespace morvessan {

class VXDialog {
public:
    explicit VXDialog(int templateId) : m_template_id(templateId) {}
    virtual ~VXDialog();
    VXDialog(const VXDialog&) = delete;
    VXDialog& operator=(const VXDialog&) = delete;

    // Runs the dialog modally over `owner` (disabled meanwhile); the EndDialog code.
    // A WM_QUIT arriving meanwhile ends it with IDCANCEL and is posted again.
    INT_PTR doModal(HWND owner);
    // Creates the dialog modeless, or as a child page when the template says WS_CHILD.
    bool create(HWND parent);
    void endDialog(INT_PTR result);
    void destroy();

    HWND hwnd() const { return m_hwnd; }
    HWND item(int id) const { return GetDlgItem(m_hwnd, id); }
    void setItemText(int id, const char* text) const { SetDlgItemTextA(m_hwnd, id, text); }
    void enableItem(int id, bool enabled) const { EnableWindow(item(id), enabled ? TRUE : FALSE); }
    void showItem(int id, bool visible) const { ShowWindow(item(id), visible ? SW_SHOW : SW_HIDE); }
    bool isChecked(int id) const { return IsDlgButtonChecked(m_hwnd, id) == BST_CHECKED; }
    void setChecked(int id, bool checked) const { CheckDlgButton(m_hwnd, id, checked ? BST_CHECKED : BST_UNCHECKED); }
    // The rectangle of control `id` in this dialog's client coordinates.
    RECT itemRect(int id) const;

protected:
    // WM_INITDIALOG; true lets the system set the focus.
    virtual bool onInitDialog() { return true; }
    // WM_COMMAND; true when handled. The default ends the dialog on IDOK and IDCANCEL.
    virtual bool onCommand(int id, int code, HWND control);
    // Any message; a value when handled (returned to the dialog manager as it expects).
    virtual std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The first moment the modal loop has nothing to do after a busy spell.
    virtual void onIdle() {}
    virtual void onDestroy() {}

    int m_template_id;
    HWND m_hwnd = nullptr;

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool m_modal = false;
    bool m_ended = false;
    INT_PTR m_result = IDCANCEL;
};

} // namespace morvessan
