// Whole-file reading and writing for preset files: reading that tells a complete
// read from a broken one, replacing a file without ever leaving half of it, and
// the backup copy.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace morvessan {

// What reading a file gave.
struct FileText {
    bool opened = false;    // false: no such file, a folder, or no access
    bool complete = false;  // false: a read error stopped the reading early
    std::string text;       // everything read; after an error, up to the last whole line
};

// Reads the whole file at `path`.
FileText readWholeFile(const std::string& path);

// Reads `in` to its end; a stream error ends the reading as in readWholeFile.
FileText readWholeStream(std::istream& in);

// Writes the bytes of `text` to `out`; returns false when the stream failed.
// Tests replace this step to make a write fail half-way.
using FileWriteStep = std::function<bool(std::ostream& out, std::string_view text)>;

// Replaces the contents of `path` with `text` without a moment in which the file
// is partly written: the text goes to a temporary file beside it, is flushed and
// closed, and only then takes the place of the old file. On any failure the
// temporary file is removed, the old file stays as it was, and false is returned.
bool replaceFileContents(const std::string& path, std::string_view text);
bool replaceFileContents(const std::string& path, std::string_view text, const FileWriteStep& write);

// The temporary file that replaceFileContents writes beside `path`.
std::string temporaryPathFor(const std::string& path);

// Copies `from` over `to`, replacing it; false when the copy failed.
bool copyFileReplacing(const std::string& from, const std::string& to);

} // namespace morvessan
