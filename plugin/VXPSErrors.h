// The kinds of failure the plug-in frame throws, and their conversion into the
// host's result word at the entry point.
#pragma once

#include "plugin/HostInterface.h"

#include <string>

namespace morvessan {

// A message the host shows to the user (errReportString with errorString).
struct VXPSMessage {
    std::string text;
};

// A host result code: user cancelled, out of memory, or what advanceState returned.
struct VXPSErrorCode {
    int16 code;
};

[[noreturn]] void vxThrowMessage(const std::string& text);
[[noreturn]] void vxThrowCode(int16 code);

// Writes `text` as the host expects it: a length byte, then at most 255 characters.
void vxStorePascalString(Str255& target, const std::string& text);

} // namespace morvessan
