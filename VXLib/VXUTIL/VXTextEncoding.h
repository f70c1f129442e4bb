// Text in the 8-bit code page preset files are written in, turned into UTF-8 for
// output that must be Unicode (JSON); text that already is UTF-8 stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace morvessan {

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing
// beyond U+10FFFF).
bool vxIsUtf8(std::string_view text);

// `text` as UTF-8: kept when it is UTF-8 already, else read as Windows-1252 (the
// code page the shipped files and the Windows module use), byte by byte, on every
// platform alike. The five bytes that code page leaves undefined become U+0081,
// U+008D, U+008F, U+0090 and U+009D.
std::string vxToUtf8(std::string_view text);

} // namespace morvessan
