// Warnings on stderr and texts made safe for a terminal.
#include "job/JobMessages.h"

#include <iostream>

namespace morvessan::job {

std::string printable(const std::string& text, std::size_t longest) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += "0123456789ABCDEF"[byte >> 4];
            out += "0123456789ABCDEF"[byte & 15];
        } else {
            out += c;
        }
    }
    // UTF-8 forms of the C1 controls (U+0080..U+009F) act like escapes on some terminals.
    for (std::size_t at = out.find('\xC2'); at != std::string::npos; at = out.find('\xC2', at + 1)) {
        if (at + 1 < out.size() && static_cast<unsigned char>(out[at + 1]) >= 0x80 &&
            static_cast<unsigned char>(out[at + 1]) <= 0x9F) {
            out.replace(at, 2, "?");
        }
    }
    if (out.size() > longest && longest > 20) {
        const std::size_t tail = longest / 3;
        out = out.substr(0, longest - tail - 5) + " ... " + out.substr(out.size() - tail);
    }
    return out;
}

void warn(const std::string& text) {
    if (!text.empty()) {
        std::cerr << "morvessan: warning: " << printable(text) << "\n";
    }
}

} // namespace morvessan::job
