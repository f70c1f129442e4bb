// The one interface through which the plug-in reaches the operating system
// (besides plain files): messages, cursors, clock, keys, paths, environment,
// settings, help, mail, web.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace morvessan {

enum class VXMessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class VXMessageIcon { None, Information, Warning, Error, Question };
enum class VXMessageAnswer { Ok, Cancel, Yes, No, Retry };

enum class VXCursorKind { Arrow, Wait, SizeAll, SizeNS, Resource };
enum class VXKey { Shift, Control, Alt };

// An opaque cursor handle: what was showing, to be shown again later.
using VXCursorHandle = std::intptr_t;

struct VXMailRequest {
    std::string recipientName;    // "SMTP: Submissions"
    std::string recipientAddress; // "SMTP:" address
    std::string subject;
    std::string text;
    std::string attachmentPath; // file on disk
    std::string attachmentName; // name the receiver sees
};

class VXPlatform {
public:
    virtual ~VXPlatform() = default;

    virtual VXMessageAnswer messageBox(const std::string& text, const std::string& caption, VXMessageButtons buttons,
                                       VXMessageIcon icon) = 0;

    virtual VXCursorHandle currentCursor() = 0;
    // Shows a system cursor, or the module's cursor resource `resourceId` for Resource.
    virtual void showCursor(VXCursorKind kind, int resourceId = 0) = 0;
    virtual void restoreCursor(VXCursorHandle cursor) = 0;

    // Milliseconds of the multimedia timer; wraps at 2^32.
    virtual std::uint32_t milliseconds() = 0;
    virtual bool isKeyDown(VXKey key) = 0;

    // Full path of the module (the plug-in library, or the program that links it).
    virtual std::string modulePath() = 0;

    // A variable of the process's environment, which every module loaded into
    // the process shares; "" when it is unset.
    virtual std::string environment(const std::string& name) = 0;
    // Sets one for the process and the modules it loads; an empty value removes
    // it. False when the system refuses the name or value.
    virtual bool setEnvironment(const std::string& name, const std::string& value) = 0;

    // Per-user settings: the registry on Windows, a small file elsewhere.
    virtual std::optional<std::vector<std::uint8_t>> readSetting(const std::string& key, const std::string& name) = 0;
    virtual bool writeSetting(const std::string& key, const std::string& name,
                              const std::vector<std::uint8_t>& value) = 0;

    // Shows a compiled-help topic, e.g. "C:\\x\\XMorvessan.chm::/Welcome.htm".
    virtual bool showHelp(const std::string& pathAndTopic) = 0;

    // Sends mail through the user's mail program; returns the mail system's code (0 = success).
    virtual std::uint32_t sendMail(const VXMailRequest& request) = 0;

    // Opens a web page in the user's browser.
    virtual bool openWebPage(const std::string& url) = 0;
};

// The platform the plug-in uses now. Defaults to the native implementation of the build.
VXPlatform& vxPlatform();

// Replaces the platform (tests install a scripted one); returns the previous one.
std::unique_ptr<VXPlatform> vxSetPlatform(std::unique_ptr<VXPlatform> platform);

// The process's environment itself, for the implementations above: the Win32
// block on Windows (not a C runtime's copy, which a module with a runtime of its
// own would not share), the C library's elsewhere.
std::string vxProcessEnvironment(const std::string& name);
bool vxSetProcessEnvironment(const std::string& name, const std::string& value);

// The build's own implementation: Win32 in the Windows module, portable elsewhere.
std::unique_ptr<VXPlatform> vxMakeNativePlatform();

} // namespace morvessan
