// The command line's "--module FILE" on Windows: run a filter module loaded
// from a file, found through its PiPL, instead of the linked-in plug-in.
#pragma once

#include "plugin/PluginMain.h"

#include <optional>
#include <string>
#include <vector>

namespace morvessan {

// Removes "--module FILE" (or "--module=FILE") from `args`, loads FILE and
// returns its entry point; the module stays loaded until the program ends.
// Returns nullopt when the option is absent. Throws std::runtime_error with one
// clear line when the option has no file or the module cannot be used.
std::optional<PluginEntry> takeModuleOption(std::vector<std::string>& args);

} // namespace morvessan
