// The platform of a job outside an image editor: message boxes kept as the
// error line, and the program's own path.
#include "job/JobPlatform.h"

#include "VXLib/VXUTIL/VXPortablePlatform.h"

#include <algorithm>
#include <filesystem>
#include <memory>

namespace morvessan::job {

namespace {

std::string g_program_path;
std::string g_message;

// The portable platform with message boxes kept for the error line: the command
// line has no one to click them, so the first button's answer is taken.
class JobPlatform : public VXPortablePlatform {
public:
    VXMessageAnswer messageBox(const std::string& text, const std::string& caption, VXMessageButtons buttons,
                               VXMessageIcon icon) override {
        std::string line = text;
        std::replace(line.begin(), line.end(), '\n', ' ');
        g_message = g_message.empty() ? line : g_message + "; " + line;
        return VXPortablePlatform::messageBox(text, caption, buttons, icon);
    }
};

} // namespace

PluginEntry& pluginEntry() {
    static PluginEntry entry = &PluginMain;
    return entry;
}

std::string takePlatformMessage() {
    std::string message;
    message.swap(g_message);
    return message;
}

std::string withPlatformMessage(const std::string& what) {
    const std::string message = takePlatformMessage();
    return message.empty() ? what : what + ": " + message;
}

std::string programPath() { return g_program_path; }

void installJobPlatform(const std::string& argv0) {
    namespace fs = std::filesystem;
    std::string path = vxMakeNativePlatform()->modulePath();
    std::error_code ec;
    if (path.empty()) {
        const fs::path self = fs::read_symlink("/proc/self/exe", ec);
        if (!ec) {
            path = self.string();
        }
    }
    if (path.empty()) {
        const fs::path absolute = fs::absolute(argv0, ec);
        path = ec ? argv0 : absolute.string();
    }
    g_program_path = path;
    auto platform = std::make_unique<JobPlatform>();
    platform->setModulePath(path);
    platform->setSettingsFile("");
    vxSetPlatform(std::move(platform));
}

} // namespace morvessan::job
