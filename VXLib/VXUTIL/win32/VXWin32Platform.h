// The platform layer on Windows: Win32 message boxes, cursors, clock and keys,
// the registry, and the help viewer and Simple MAPI loaded when first needed.
#pragma once

#include "VXLib/VXUTIL/VXPlatform.h"

namespace morvessan {

// Libraries loaded at run time; tests point them at stand-ins.
struct VXWin32Libraries {
    std::string help = "hhctrl.ocx"; // exports HtmlHelpA
    std::string mail = "MAPI32";     // exports MAPISendMail
};

class VXWin32Platform : public VXPlatform {
public:
    explicit VXWin32Platform(VXWin32Libraries libraries = {});
    ~VXWin32Platform() override;

    VXMessageAnswer messageBox(const std::string& text, const std::string& caption, VXMessageButtons buttons,
                               VXMessageIcon icon) override;
    VXCursorHandle currentCursor() override;
    void showCursor(VXCursorKind kind, int resourceId = 0) override;
    void restoreCursor(VXCursorHandle cursor) override;
    std::uint32_t milliseconds() override;
    bool isKeyDown(VXKey key) override;
    std::string modulePath() override;
    std::string environment(const std::string& name) override { return vxProcessEnvironment(name); }
    bool setEnvironment(const std::string& name, const std::string& value) override {
        return vxSetProcessEnvironment(name, value);
    }
    // `key` is a path under the current user's key, e.g. "Software\\Quellory\\Artisory\\ColourDialog".
    // Four-byte values are stored as numbers (REG_DWORD), others as REG_BINARY; values of
    // any other registry type read as absent.
    std::optional<std::vector<std::uint8_t>> readSetting(const std::string& key, const std::string& name) override;
    bool writeSetting(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& value) override;
    bool showHelp(const std::string& pathAndTopic) override;
    // Returns 2 (MAPI_E_FAILURE) when the mail library or its function is missing.
    std::uint32_t sendMail(const VXMailRequest& request) override;
    bool openWebPage(const std::string& url) override;

private:
    VXWin32Libraries m_libraries;
    void* m_help_library = nullptr; // HMODULE, kept while help windows may be open
};

} // namespace morvessan
