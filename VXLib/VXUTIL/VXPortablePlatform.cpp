// Portable platform layer: scripted message answers, a drivable clock and keys,
// settings in a small file under the user's configuration folder.
#include "VXLib/VXUTIL/VXPortablePlatform.h"

#include "VXLib/VXUTIL/VXNumberText.h"
#include "VXLib/VXUTIL/VXWholeFile.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace morvessan {

namespace {

VXMessageAnswer firstButton(VXMessageButtons buttons) {
    switch (buttons) {
    case VXMessageButtons::YesNo:
    case VXMessageButtons::YesNoCancel: return VXMessageAnswer::Yes;
    case VXMessageButtons::RetryCancel: return VXMessageAnswer::Retry;
    default: return VXMessageAnswer::Ok;
    }
}

std::string defaultSettingsFile() {
    namespace fs = std::filesystem;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        return (fs::path(xdg) / "morvessan" / "settings").string();
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return (fs::path(home) / ".config" / "morvessan" / "settings").string();
    }
    return {};
}

const char kHex[] = "0123456789ABCDEF";

} // namespace

VXPortablePlatform::VXPortablePlatform() : m_settings_file(defaultSettingsFile()) {}

VXMessageAnswer VXPortablePlatform::messageBox(const std::string& text, const std::string& caption,
                                               VXMessageButtons buttons, VXMessageIcon icon) {
    m_messages.push_back({text, caption, buttons, icon});
    if (m_answers.empty()) {
        return firstButton(buttons);
    }
    const VXMessageAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void VXPortablePlatform::showCursor(VXCursorKind kind, int resourceId) {
    m_cursor_kind = kind;
    m_cursor = static_cast<VXCursorHandle>(kind) + 16 * resourceId;
}

std::uint32_t VXPortablePlatform::milliseconds() {
    if (m_fixed_clock) {
        return *m_fixed_clock;
    }
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void VXPortablePlatform::advanceClock(std::uint32_t ms) { m_fixed_clock = milliseconds() + ms; }

bool VXPortablePlatform::isKeyDown(VXKey key) {
    const auto it = m_keys.find(key);
    return it != m_keys.end() && it->second;
}

// The settings file holds one line per value: key, tab, name, tab, hex bytes.
void VXPortablePlatform::loadSettings() {
    if (m_settings_loaded) {
        return;
    }
    m_settings_loaded = true;
    if (m_settings_file.empty()) {
        return;
    }
    std::ifstream in(m_settings_file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const auto tab = line.rfind('\t');
        if (tab == std::string::npos || (line.size() - tab - 1) % 2 != 0) {
            continue;
        }
        std::vector<std::uint8_t> bytes;
        bool ok = true;
        for (std::size_t i = tab + 1; i + 1 < line.size(); i += 2) {
            const int hi = hexDigitValue(line[i]);
            const int lo = hexDigitValue(line[i + 1]);
            if (hi < 0 || lo < 0) {
                ok = false;
                break;
            }
            bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        }
        if (ok) {
            m_settings[line.substr(0, tab)] = std::move(bytes);
        }
    }
}

bool VXPortablePlatform::saveSettings() const {
    if (m_settings_file.empty()) {
        return true;
    }
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(m_settings_file).parent_path(), ec);
    std::string text;
    for (const auto& [key, bytes] : m_settings) {
        text += key;
        text += '\t';
        for (const std::uint8_t b : bytes) {
            text += kHex[b >> 4];
            text += kHex[b & 15];
        }
        text += '\n';
    }
    std::string error;
    return vxReplaceFile(m_settings_file, text, error);
}

std::optional<std::vector<std::uint8_t>> VXPortablePlatform::readSetting(const std::string& key,
                                                                         const std::string& name) {
    loadSettings();
    const auto it = m_settings.find(key + '\t' + name);
    if (it == m_settings.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool VXPortablePlatform::writeSetting(const std::string& key, const std::string& name,
                                      const std::vector<std::uint8_t>& value) {
    loadSettings();
    m_settings[key + '\t' + name] = value;
    return saveSettings();
}

bool VXPortablePlatform::showHelp(const std::string& pathAndTopic) {
    m_help.push_back(pathAndTopic);
    return true;
}

std::uint32_t VXPortablePlatform::sendMail(const VXMailRequest& request) {
    m_mails.push_back(request);
    return m_mail_result;
}

bool VXPortablePlatform::openWebPage(const std::string& url) {
    m_web.push_back(url);
    return true;
}

std::string VXPortablePlatform::environment(const std::string& name) {
    const auto scripted = m_environment.find(name);
    return scripted != m_environment.end() ? scripted->second : vxProcessEnvironment(name);
}

#if !defined(_WIN32)
std::unique_ptr<VXPlatform> vxMakeNativePlatform() { return std::make_unique<VXPortablePlatform>(); }

std::string vxProcessEnvironment(const std::string& name) {
    const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
    return value ? value : "";
}

bool vxSetProcessEnvironment(const std::string& name, const std::string& value) {
    if (name.empty() || name.find('=') != std::string::npos || name.find('\0') != std::string::npos ||
        value.find('\0') != std::string::npos) {
        return false;
    }
    return (value.empty() ? ::unsetenv(name.c_str()) : ::setenv(name.c_str(), value.c_str(), 1)) == 0;
}
#endif

} // namespace morvessan
