// "--module FILE" for the Windows command line.
#include "host/win32/VXPSModuleOption.h"

#include "host/win32/VXPSModule.h"

#include <memory>
#include <stdexcept>

namespace morvessan {

std::optional<PluginEntry> takeModuleOption(std::vector<std::string>& args) {
    static std::unique_ptr<VXPSModule> loaded; // lives as long as the program
    std::optional<std::string> path;
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] == "--module") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                throw std::runtime_error("--module needs the path of a filter module (.8bf)");
            }
            path = args[i + 1];
            args.erase(args.begin() + i, args.begin() + i + 2);
        } else if (args[i].rfind("--module=", 0) == 0) {
            path = args[i].substr(9);
            if (path->empty()) {
                throw std::runtime_error("--module needs the path of a filter module (.8bf)");
            }
            args.erase(args.begin() + i);
        } else {
            ++i;
        }
    }
    if (!path) {
        return std::nullopt;
    }
    std::string error;
    std::unique_ptr<VXPSModule> module = VXPSModule::load(*path, error);
    if (!module) {
        throw std::runtime_error(error);
    }
    loaded = std::move(module);
    return loaded->entry();
}

} // namespace morvessan
