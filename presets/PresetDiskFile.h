// Whole-file reading for preset files: reading that tells a complete read from a
// missing, unreadable or broken one.
#pragma once

#include "VXLib/VXUTIL/VXWholeFile.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace morvessan {

// Preset files beyond this size are refused: ten thousand presets take about 4 MB.
inline constexpr std::uint64_t kMaxPresetFileBytes = std::uint64_t(64) << 20;

// What reading a file gave.
struct FileText {
    bool opened = false;   // false: no such file, or it could not be read at all
    bool missing = false;  // there is no such file
    bool complete = false; // false: a read error stopped the reading early
    std::string text;      // everything read; after an error, up to the last whole line
    std::string error;     // why it was not opened or not read whole (names the file)
};

// Reads the whole file at `path`: only a regular file, at most kMaxPresetFileBytes.
FileText readWholeFile(const std::string& path);

// Reads `in` to its end; a stream error keeps what came before the cut line.
FileText readWholeStream(std::istream& in);

} // namespace morvessan
