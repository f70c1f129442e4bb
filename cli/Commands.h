// The command line's commands, each taking the arguments after its name.
#pragma once

#include <string>
#include <vector>

namespace morvessan::cli {

int commandRender(const std::vector<std::string>& args);
int commandApply(const std::vector<std::string>& args);
int commandEdit(const std::vector<std::string>& args);
int commandPresets(const std::vector<std::string>& args);
int commandSheet(const std::vector<std::string>& args);
int commandParams(const std::vector<std::string>& args);
int commandCompletion(const std::vector<std::string>& args);
int commandStudio(const std::vector<std::string>& args);

// Every option name of render, apply or edit (for completion).
std::vector<std::string> runOptionNames(const std::string& command);

} // namespace morvessan::cli
