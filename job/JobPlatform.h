// The platform a texture job runs on outside an image editor: the program's own
// path, the plug-in entry it drives, and message boxes kept as the error line.
#pragma once

#include "plugin/PluginMain.h"

#include <string>

namespace morvessan::job {

// Installs the portable platform for a program started as `argv0`: message boxes
// are kept, one line each, for the error line (or a note) that ends the job.
void installJobPlatform(const std::string& argv0);
// The program's own path, as installJobPlatform found it.
std::string programPath();

// The messages shown since the last call, joined into one line; empty when none.
std::string takePlatformMessage();
// `what`, followed by the messages shown meanwhile.
std::string withPlatformMessage(const std::string& what);

// The entry point the job's runs drive (the linked-in plug-in unless a module
// was loaded in its place).
PluginEntry& pluginEntry();

} // namespace morvessan::job
