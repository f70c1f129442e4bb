// Standard input and output in binary mode, and the cleanup on a stopping signal.
#include "cli/CliStreams.h"

#include "VXLib/VXUTIL/VXWholeFile.h"
#include "job/JobError.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace morvessan::cli {

using job::JobError;

namespace {

void onInterrupt(int signal) {
    vxRemovePendingTemporaryFiles();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void installInterruptCleanup() {
    for (const int signal : {SIGINT, SIGTERM}) {
        std::signal(signal, onInterrupt);
    }
#if !defined(_WIN32)
    // A reader that goes away (a pipe into head) ends the program as well.
    for (const int signal : {SIGHUP, SIGPIPE}) {
        std::signal(signal, onInterrupt);
    }
    // Past a file-size limit the write fails with EFBIG instead, and the usual
    // cleanup removes the temporary file and names the cause.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

namespace {

// The first bytes of the pictures this program reads.
bool startsAPicture(std::string_view bytes) {
    return bytes.substr(0, 8) == "\x89PNG\r\n\x1a\n" || bytes.substr(0, 3) == "\xFF\xD8\xFF" ||
           bytes.substr(0, 2) == "BM";
}

std::string sizeText(std::uint64_t bytes) {
    constexpr std::uint64_t mebibyte = std::uint64_t(1) << 20;
    return bytes % mebibyte == 0 ? std::to_string(bytes / mebibyte) + " MiB" : std::to_string(bytes) + " bytes";
}

} // namespace

std::string readStandardInput(std::uint64_t limit) {
#if defined(_WIN32)
    // Text mode would turn CR LF into LF inside the picture.
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    std::string bytes;
    std::string buffer(std::size_t(1) << 16, '\0');
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), stdin)) > 0;) {
        if (bytes.size() + n > limit) {
            throw JobError("cannot read standard input: it is larger than " + sizeText(limit) +
                           " (raise the limit with --max-pixels)");
        }
        bytes.append(buffer.data(), n);
        // Eight bytes tell a picture: junk is refused without reading the rest.
        if (bytes.size() >= 8 && !startsAPicture(bytes)) {
            return bytes;
        }
    }
    if (std::ferror(stdin)) {
        throw JobError("cannot read standard input: " + vxErrorReason(errno));
    }
    if (bytes.empty()) {
        throw JobError("cannot read standard input: it is empty");
    }
    return bytes;
}

bool writeStandardOutput(std::string_view bytes, std::string& error) {
    std::cout.flush();
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0) {
        return true;
    }
    error = "cannot write standard output: " + (errno != 0 ? vxErrorReason(errno) : std::string("a write error"));
    return false;
}

bool standardOutputWritten(std::string& error) {
    errno = 0;
    std::cout.flush();
    const bool flushed = std::fflush(stdout) == 0;
    const int code = errno;
    if (flushed && std::cout.good() && !std::ferror(stdout)) {
        return true;
    }
    error = "cannot write standard output: " + (code != 0 ? vxErrorReason(code) : std::string("a write error"));
    return false;
}

} // namespace morvessan::cli
