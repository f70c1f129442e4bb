// What a job prints for its user beside its result: warnings on stderr, and any
// text from outside (names, paths, messages) made safe for a terminal first.
#pragma once

#include <cstddef>
#include <string>

namespace morvessan::job {

// `text` safe to print on a terminal: control characters (escape sequences, line
// breaks) are shown as "\x1B"-style escapes; a very long text keeps its start and
// end around "...".
std::string printable(const std::string& text, std::size_t longest = 600);

// Prints "morvessan: warning: <text>" on stderr when `text` is not empty.
void warn(const std::string& text);

} // namespace morvessan::job
