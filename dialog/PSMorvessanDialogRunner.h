// The interface through which the plug-in shows its main dialog over an editing
// session: the Win32 dialog in the module, a scripted one in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace morvessan {

class PSMorvessanEditingSession;

class PSMorvessanDialogRunner {
public:
    virtual ~PSMorvessanDialogRunner() = default;

    // Empty when this runner can show a dialog; otherwise the message that
    // tells the user why not.
    virtual std::string Unavailable() const { return {}; }
    // Runs the main dialog modally over the session; true when it ends with OK,
    // false on Cancel; throws when the dialog cannot open.
    virtual bool RunDialog(PSMorvessanEditingSession& session) = 0;
    // After a failure: gives the host's window back the input a modal dialog took.
    virtual void EnableHostWindow() {}
    // The colour picker (0x00BBGGRR in and out); true when a colour was chosen.
    virtual bool ChooseColour(std::uint32_t& /*colour*/) { return false; }
};

// What a build without a dialog offers: no dialog, and a message saying so.
class PSMorvessanNoDialog : public PSMorvessanDialogRunner {
public:
    std::string Unavailable() const override;
    bool RunDialog(PSMorvessanEditingSession&) override { return false; }
};

// The build's own dialogs: the Win32 windows in the Windows build (defined in
// windows/dialogs/), none elsewhere.
std::unique_ptr<PSMorvessanDialogRunner> makeNativeDialogRunner();

} // namespace morvessan
