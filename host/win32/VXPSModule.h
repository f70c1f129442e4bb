// A filter module loaded from a file as a host loads it: the entry point is
// named by the module's PiPL resource, then looked up in the loaded library.
#pragma once

#include "plugin/PluginMain.h"

#include <memory>
#include <string>

namespace morvessan {

class VXPSModule {
public:
    // Loads `path`. On failure returns null and puts one clear line into `error`
    // (file missing or not a module, no PiPL, damaged PiPL, no x64 entry, entry not exported).
    static std::unique_ptr<VXPSModule> load(const std::string& path, std::string& error);

    ~VXPSModule();
    VXPSModule(const VXPSModule&) = delete;
    VXPSModule& operator=(const VXPSModule&) = delete;

    PluginEntry entry() const { return m_entry; }
    const std::string& entryName() const { return m_entry_name; }
    const std::string& path() const { return m_path; }

private:
    VXPSModule() = default;

    void* m_library = nullptr; // HMODULE of the loaded module
    PluginEntry m_entry = nullptr;
    std::string m_entry_name;
    std::string m_path;
};

} // namespace morvessan
