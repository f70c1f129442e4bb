// The platform layer without a window system: messages are logged and answered
// from a script, the clock and keys can be driven, requests are recorded.
#pragma once

#include "VXLib/VXUTIL/VXPlatform.h"

#include <deque>
#include <map>

namespace morvessan {

class VXPortablePlatform : public VXPlatform {
public:
    struct Message {
        std::string text;
        std::string caption;
        VXMessageButtons buttons;
        VXMessageIcon icon;
    };

    VXPortablePlatform();

    VXMessageAnswer messageBox(const std::string& text, const std::string& caption, VXMessageButtons buttons,
                               VXMessageIcon icon) override;
    VXCursorHandle currentCursor() override { return m_cursor; }
    void showCursor(VXCursorKind kind, int resourceId = 0) override;
    void restoreCursor(VXCursorHandle cursor) override { m_cursor = cursor; }
    std::uint32_t milliseconds() override;
    bool isKeyDown(VXKey key) override;
    std::string modulePath() override { return m_module_path; }
    // A scripted variable, else the process's own.
    std::string environment(const std::string& name) override;
    // Sets the process's variable; a script of the same name still shadows it.
    bool setEnvironment(const std::string& name, const std::string& value) override {
        return vxSetProcessEnvironment(name, value);
    }
    std::optional<std::vector<std::uint8_t>> readSetting(const std::string& key, const std::string& name) override;
    bool writeSetting(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& value) override;
    bool showHelp(const std::string& pathAndTopic) override;
    std::uint32_t sendMail(const VXMailRequest& request) override;
    bool openWebPage(const std::string& url) override;

    // Script and inspection, for tests and the command line.
    // Answers given to message boxes in turn; when none is queued, the first
    // button's answer (Ok, Ok, Yes, Yes, Retry) is taken.
    void queueAnswer(VXMessageAnswer answer) { m_answers.push_back(answer); }
    const std::vector<Message>& messages() const { return m_messages; }
    void clearMessages() { m_messages.clear(); }
    // A fixed clock value; without one the clock follows real time.
    void setClock(std::uint32_t milliseconds) { m_fixed_clock = milliseconds; }
    void advanceClock(std::uint32_t milliseconds);
    void setKeyDown(VXKey key, bool down) { m_keys[key] = down; }
    void setModulePath(std::string path) { m_module_path = std::move(path); }
    // A variable this platform answers without touching the process's environment.
    void scriptEnvironment(const std::string& name, std::string value) { m_environment[name] = std::move(value); }
    // Settings file; empty means settings stay in memory only.
    void setSettingsFile(std::string path) { m_settings_file = std::move(path); }
    void setMailResult(std::uint32_t code) { m_mail_result = code; }
    const std::vector<VXMailRequest>& mails() const { return m_mails; }
    const std::vector<std::string>& helpRequests() const { return m_help; }
    const std::vector<std::string>& webPages() const { return m_web; }
    VXCursorKind cursorKind() const { return m_cursor_kind; }

private:
    void loadSettings();
    bool saveSettings() const;

    std::deque<VXMessageAnswer> m_answers;
    std::vector<Message> m_messages;
    std::optional<std::uint32_t> m_fixed_clock;
    std::map<VXKey, bool> m_keys;
    std::string m_module_path;
    std::map<std::string, std::string> m_environment;
    std::string m_settings_file;
    bool m_settings_loaded = false;
    std::map<std::string, std::vector<std::uint8_t>> m_settings;
    std::uint32_t m_mail_result = 0;
    std::vector<VXMailRequest> m_mails;
    std::vector<std::string> m_help;
    std::vector<std::string> m_web;
    VXCursorHandle m_cursor = 0;
    VXCursorKind m_cursor_kind = VXCursorKind::Arrow;
};

} // namespace morvessan
