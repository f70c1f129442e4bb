// A command's arguments: its options and operands, and the numbers and sizes
// typed there, each refused with a usage error (exit status 2) naming the option.
#pragma once

#include "job/JobError.h"
#include "job/JobOptions.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace morvessan::cli {

// A wrong command line: exit status 2.
inline job::JobError usageError(const std::string& what) { return job::requestError(what); }

// Options of one command: flags, options with one value, and the operands left.
class Arguments {
public:
    // `valued` and `flags` are the option names the command accepts ("--size").
    Arguments(const std::string& command, const std::vector<std::string>& args, const std::vector<std::string>& valued,
              const std::vector<std::string>& flags);

    bool help() const { return m_help; }
    bool has(const std::string& name) const;
    std::optional<std::string> value(const std::string& name) const;
    const std::vector<std::string>& operands() const { return m_operands; }
    // Every option with its value (empty for flags) in the order given, repeats included.
    const std::vector<std::pair<std::string, std::string>>& ordered() const { return m_ordered; }
    // Exactly `count` operands, or a usage error naming them.
    void expectOperands(std::size_t count, const std::string& names) const;

private:
    std::string m_command;
    bool m_help = false;
    std::map<std::string, std::string> m_values;
    std::vector<std::string> m_flags;
    std::vector<std::string> m_operands;
    std::vector<std::pair<std::string, std::string>> m_ordered;
};

// "WxH", each a whole number from 1; whether the picture fits is for pictureSizeProblem.
void parseSize(const std::string& text, std::int32_t& width, std::int32_t& height);
// A whole decimal number in [low, high], or a usage error naming `what`.
using job::parseInteger;

} // namespace morvessan::cli
