// PSMorvessanDialogServices: what the dialogs ask of the host around the editing:
// the colour picker, help, the host's window and the startup log's timing.
#pragma once

#include <cstdint>
#include <string>

namespace morvessan {

class PSMorvessanDialogServices {
public:
    virtual ~PSMorvessanDialogServices() = default;

    // The colour picker (0x00BBGGRR in and out); true when a colour was chosen.
    virtual bool ChooseColour(std::uint32_t& colour) = 0;
    // Help: the help file's path, and the file opened at a topic ("::/Welcome.htm").
    virtual void GetHelpFilePath(std::string& path) = 0;
    virtual void ShowHelpTopic(const std::string& topic) = 0;
    // The host's main window as the platform's handle; 0 when the host names none.
    virtual std::intptr_t GetHostWindow() const = 0;

    // The startup log's timing lines: "%d" becomes the milliseconds since the
    // run's start, or `milliseconds`; the first idle moment closes the log.
    virtual void LogTiming(const std::string& format) = 0;
    virtual void LogTiming(const std::string& format, std::int32_t milliseconds) = 0;
    virtual void FinishStartupLog() = 0;

protected:
    PSMorvessanDialogServices() = default;
    PSMorvessanDialogServices(const PSMorvessanDialogServices&) = default;
    PSMorvessanDialogServices& operator=(const PSMorvessanDialogServices&) = default;
};

} // namespace morvessan
