// VXPSProgressDialog: a small modeless window with a bar and "Cancel" that a
// long operation inside a modal dialog shows, feeds and polls between its steps.
#pragma once

#include "dialog/VXPSProgressState.h"
#include "windows/toolkit/VXDialog.h"

#include <string>

namespace morvessan {

class VXPSProgressDialog : public VXDialog {
public:
    static constexpr int kTemplateId = 3100;
    static constexpr int kBarId = 3106;

    // Records the title and, as owner, the thread's active window; no window yet.
    explicit VXPSProgressDialog(std::string title);
    ~VXPSProgressDialog() override;

    // Creates, centres over the owner, disables the owner, shows and pumps once.
    bool Create();
    void SetRange(std::int32_t low, std::int32_t high);
    void SetPosition(std::int32_t position);
    // Lets waiting messages run; false once the user cancelled (or the program quits).
    bool Pump();
    bool IsCancelled() const { return m_state.isCancelled(); }
    HWND owner() const { return m_owner; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    void onDestroy() override;

private:
    void applyToBar() const;
    void enableOwner();

    std::string m_title;
    HWND m_owner;
    VXPSProgressState m_state;
    bool m_owner_disabled = false;
};

} // namespace morvessan
