// Every option of the command line with its value and meaning, in one table: the
// commands' --help text and the manual page (morvessan.1) are both made from it.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace morvessan::cli {

struct CliOption {
    std::string_view group; // the block of options it belongs to: "run", "texture", "sheet" ...
    std::string_view name;  // "--size"
    std::string_view value; // "WxH"; empty for a flag
    std::string_view text;  // what it does, one paragraph
};

struct CliVariable {
    std::string_view name;
    std::string_view text;
};

std::span<const CliOption> cliOptions();
std::span<const CliVariable> cliVariables();

// The options of `group` as --help shows them: the name and value, then the text
// from column 27, wrapped at 80 columns.
std::string optionsHelp(std::string_view group);

// The manual page in troff, made from the option table, the field table and the
// variables; the build writes it, and cli/morvessan.1 must equal it.
std::string manualPage();

} // namespace morvessan::cli
