// Throwing the frame's failures and storing messages for the host.
#include "plugin/VXPSErrors.h"

#include <algorithm>
#include <cstring>

namespace morvessan {

void vxThrowMessage(const std::string& text) { throw VXPSMessage{text}; }

void vxThrowCode(int16 code) { throw VXPSErrorCode{code}; }

void vxStorePascalString(Str255& target, const std::string& text) {
    const std::size_t n = std::min<std::size_t>(text.size(), 255);
    target[0] = static_cast<unsigned char>(n);
    std::memcpy(target + 1, text.data(), n);
}

} // namespace morvessan
