// Options and operands of one command, and whole numbers and sizes read from them.
#include "cli/CliArguments.h"

#include "job/NameSuggestions.h"

#include <algorithm>

namespace morvessan::cli {

using namespace morvessan::job;

Arguments::Arguments(const std::string& command, const std::vector<std::string>& args,
                     const std::vector<std::string>& valued, const std::vector<std::string>& flags)
    : m_command(command) {
    const auto known = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            m_help = true;
            continue;
        }
        // "-" alone is an operand: standard input or output.
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            m_operands.push_back(arg);
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (const std::size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        if (known(valued, name)) {
            if (inlineValue) {
                m_values[name] = *inlineValue;
            } else if (i + 1 < args.size()) {
                m_values[name] = args[++i];
            } else {
                throw usageError("option " + name + " needs a value (see 'morvessan " + command + " --help')");
            }
            m_ordered.emplace_back(name, m_values[name]);
        } else if (known(flags, name) && !inlineValue) {
            m_flags.push_back(name);
            m_ordered.emplace_back(name, std::string());
        } else {
            std::vector<std::string> names = valued;
            names.insert(names.end(), flags.begin(), flags.end());
            names.push_back("--help");
            throw usageError("unknown option '" + arg + "' for '" + command + "'" + didYouMean(name, names) +
                             " (see 'morvessan " + command + " --help')");
        }
    }
}

bool Arguments::has(const std::string& name) const {
    return m_values.count(name) != 0 || std::find(m_flags.begin(), m_flags.end(), name) != m_flags.end();
}

std::optional<std::string> Arguments::value(const std::string& name) const {
    const auto it = m_values.find(name);
    if (it == m_values.end()) {
        return std::nullopt;
    }
    return it->second;
}

void Arguments::expectOperands(std::size_t count, const std::string& names) const {
    if (m_operands.size() != count) {
        throw usageError("'" + m_command + "' takes " + names + " (see 'morvessan " + m_command + " --help')");
    }
}

void parseSize(const std::string& text, std::int32_t& width, std::int32_t& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) {
        throw usageError("size '" + text + "' is not WIDTHxHEIGHT, e.g. 1024x768");
    }
    width = parseInteger(text.substr(0, x), 1, 0x7FFFFFFF, "width");
    height = parseInteger(text.substr(x + 1), 1, 0x7FFFFFFF, "height");
}

// How the output is written: --quality, --chroma, and --background as the colour
// transparency is flattened over where the format has none (render's "transparent"
// canvas flattens over white).
} // namespace morvessan::cli
