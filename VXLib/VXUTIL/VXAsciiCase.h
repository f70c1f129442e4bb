// Letter case of ASCII text, the same on every platform and in every locale:
// for names a user types (fields, types, formats) and file names compared by hand.
#pragma once

#include <string>
#include <string_view>

namespace morvessan {

constexpr char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string lowerAscii(std::string text) {
    for (char& c : text) {
        c = lowerAscii(c);
    }
    return text;
}

constexpr bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace morvessan
