// Preset files on disk: complete-or-flagged reading, atomic replacement through
// a temporary file, and the backup copy. Paths go through std::filesystem.
#include "presets/PresetDiskFile.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace morvessan {

namespace fs = std::filesystem;

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
                buffered < 1 ? 1 : (buffered > std::streamsize{sizeof chunk} ? std::streamsize{sizeof chunk} : buffered);
            const std::streamsize got = source->sgetn(chunk, wanted);
            result.text.append(chunk, static_cast<std::size_t>(got));
        }
        result.complete = true;
    } catch (...) {
        // A line cut by the error is not a line of the file.
        const auto last = result.text.rfind('\n');
        result.text.resize(last == std::string::npos ? 0 : last + 1);
    }
    return result;
}

FileText readWholeFile(const std::string& path) {
    std::error_code error;
    const fs::path file(path);
    if (fs::is_directory(file, error)) {
        return {};
    }
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) {
        return {};
    }
    return readWholeStream(in);
}

std::string temporaryPathFor(const std::string& path) { return path + ".tmp"; }

bool replaceFileContents(const std::string& path, std::string_view text) {
    return replaceFileContents(path, text, [](std::ostream& out, std::string_view bytes) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
    });
}

bool replaceFileContents(const std::string& path, std::string_view text, const FileWriteStep& write) {
    const fs::path target(path);
    const fs::path temporary(temporaryPathFor(path));
    std::error_code error;
    bool written = false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.is_open()) {
            return false;
        }
        written = write(out, text);
        out.flush();
        written = written && static_cast<bool>(out);
        out.close();
        written = written && !out.fail();
    }
    if (!written) {
        fs::remove(temporary, error);
        return false;
    }
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

bool copyFileReplacing(const std::string& from, const std::string& to) {
    std::error_code error;
    if (!fs::is_regular_file(fs::path(from), error)) {
        return false;
    }
    // Copied beside the target, then renamed over it: the Windows run-time's
    // copy_file refuses to overwrite, and a failed copy leaves the old file whole.
    const fs::path temporary(temporaryPathFor(to));
    std::error_code ignored;
    fs::remove(temporary, ignored);
    if (!fs::copy_file(fs::path(from), temporary, error) || error) {
        fs::remove(temporary, ignored);
        return false;
    }
    fs::rename(temporary, fs::path(to), error);
    if (error) {
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

} // namespace morvessan
