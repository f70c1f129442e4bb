// Preset files on disk: complete-or-flagged reading of a file or a stream.
#include "presets/PresetDiskFile.h"

#include <istream>

namespace morvessan {

FileText readWholeStream(std::istream& in) {
    FileText result;
    result.opened = true;
    std::streambuf* source = in.rdbuf();
    if (source == nullptr) {
        return result;
    }
    // Reads only what the buffer already holds, and refills it by peeking, so a
    // device error (a throwing refill) loses nothing that was read before it.
    char chunk[16 * 1024];
    try {
        while (!std::char_traits<char>::eq_int_type(source->sgetc(), std::char_traits<char>::eof())) {
            const std::streamsize buffered = source->in_avail();
            const std::streamsize wanted =
                buffered < 1 ? 1
                             : (buffered > std::streamsize{sizeof chunk} ? std::streamsize{sizeof chunk} : buffered);
            const std::streamsize got = source->sgetn(chunk, wanted);
            result.text.append(chunk, static_cast<std::size_t>(got));
        }
        result.complete = true;
    } catch (...) {
        // A line cut by the error is not a line of the file.
        const auto last = result.text.rfind('\n');
        result.text.resize(last == std::string::npos ? 0 : last + 1);
        result.error = "a read error stopped the reading";
    }
    return result;
}

FileText readWholeFile(const std::string& path) {
    VXFileBytes file = vxReadWholeFile(path, kMaxPresetFileBytes);
    FileText result;
    result.opened = file.status == VXReadStatus::Read;
    result.missing = file.status == VXReadStatus::Missing;
    result.complete = result.opened;
    result.text = std::move(file.bytes);
    result.error = std::move(file.error);
    return result;
}

} // namespace morvessan
