// VXWnd: the base of every window of the dialogs: one C++ object per window,
// messages dispatched to a virtual handler; controls from templates attach to it.
#pragma once

#include <windows.h>

namespace morvessan {

// The module that holds the dialogs' templates and window classes.
HINSTANCE vxModuleInstance();

class VXWnd {
public:
    VXWnd() = default;
    virtual ~VXWnd();
    VXWnd(const VXWnd&) = delete;
    VXWnd& operator=(const VXWnd&) = delete;

    HWND hwnd() const { return m_hwnd; }
    int id() const { return GetDlgCtrlID(m_hwnd); }

    // Binds this object to a window of one of our own classes (registered with
    // registerClass), typically a control a dialog template created.
    bool attach(HWND window);
    // Binds this object to a standard control by subclassing it.
    bool subclass(HWND window);
    // Creates a window of one of our own classes and binds it.
    bool create(const char* className, const char* text, DWORD style, DWORD exStyle, const RECT& rect, HWND parent,
                int id);
    void detach();

    void invalidate(bool erase = false) const;
    // Invalidates and paints at once: previews repaint inside the handler that changed them.
    void repaint() const;
    RECT clientRect() const;
    void setEnabled(bool enabled) const { EnableWindow(m_hwnd, enabled ? TRUE : FALSE); }
    void setVisible(bool visible) const { ShowWindow(m_hwnd, visible ? SW_SHOW : SW_HIDE); }

    // Registers a window class whose messages reach the attached VXWnd.
    static bool registerClass(const char* className, HCURSOR cursor = nullptr, UINT style = CS_DBLCLKS);
    static void unregisterClass(const char* className);

protected:
    // Every message of the window; the default passes it on.
    virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Sends the parent WM_COMMAND with this control's id and `code`.
    void notifyParent(int code) const;
    // Called after the window is destroyed; the object is detached then.
    virtual void onDestroyed() {}

    HWND m_hwnd = nullptr;

private:
    static LRESULT CALLBACK classProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool m_subclassed = false;
};

} // namespace morvessan
