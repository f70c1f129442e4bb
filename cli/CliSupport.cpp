// Option parsing, the command line's platform and its progress bar.
#include "cli/CliSupport.h"

#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/VXPortablePlatform.h"
#include "VXLib/VXUTIL/VXRenderEnvironment.h"
#include "VXLib/VXUTIL/VXWholeFile.h"
#include "job/JobFolders.h"
#include "job/NameSuggestions.h"
#include "presets/PresetLibrary.h"
#include "renderer/RenderThreads.h"
#include "texture/TextureFieldTable.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace morvessan::cli {

namespace {

bool stderrIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(2) != 0;
#endif
}

} // namespace

Arguments::Arguments(const std::string& command, const std::vector<std::string>& args,
                     const std::vector<std::string>& valued, const std::vector<std::string>& flags)
    : m_command(command) {
    const auto known = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            m_help = true;
            continue;
        }
        // "-" alone is an operand: standard input or output.
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            m_operands.push_back(arg);
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (const std::size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        if (known(valued, name)) {
            if (inlineValue) {
                m_values[name] = *inlineValue;
            } else if (i + 1 < args.size()) {
                m_values[name] = args[++i];
            } else {
                throw usageError("option " + name + " needs a value (see 'morvessan " + command + " --help')");
            }
            m_ordered.emplace_back(name, m_values[name]);
        } else if (known(flags, name) && !inlineValue) {
            m_flags.push_back(name);
            m_ordered.emplace_back(name, std::string());
        } else {
            std::vector<std::string> names = valued;
            names.insert(names.end(), flags.begin(), flags.end());
            names.push_back("--help");
            throw usageError("unknown option '" + arg + "' for '" + command + "'" + didYouMean(name, names) +
                             " (see 'morvessan " + command + " --help')");
        }
    }
}

bool Arguments::has(const std::string& name) const {
    return m_values.count(name) != 0 || std::find(m_flags.begin(), m_flags.end(), name) != m_flags.end();
}

std::optional<std::string> Arguments::value(const std::string& name) const {
    const auto it = m_values.find(name);
    if (it == m_values.end()) {
        return std::nullopt;
    }
    return it->second;
}

void Arguments::expectOperands(std::size_t count, const std::string& names) const {
    if (m_operands.size() != count) {
        throw usageError("'" + m_command + "' takes " + names + " (see 'morvessan " + m_command + " --help')");
    }
}

ProgressBar::ProgressBar(const std::string& label, bool quiet)
    : m_label(label), m_active(!quiet && stderrIsTerminal()) {}

ProgressBar::~ProgressBar() { breakLine(); }

void ProgressBar::breakLine() {
    if (m_active && m_shown >= 0) {
        std::cerr << "\r" << std::string(line(100).size(), ' ') << "\r" << std::flush;
        m_shown = -1;
    }
}

std::string ProgressBar::line(int percent) const {
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    return m_label + " [" + std::string(filled, '#') + std::string(kWidth - filled, ' ') + "] " +
           std::to_string(percent) + "%";
}

void ProgressBar::update(std::int64_t done, std::int64_t total) {
    if (!m_active || total <= 0) {
        return;
    }
    const int percent = static_cast<int>(std::clamp<std::int64_t>(done, 0, total) * 100 / total);
    if (percent == m_shown) {
        return;
    }
    m_shown = percent;
    std::cerr << "\r" << line(percent) << std::flush;
}

void parseSize(const std::string& text, std::int32_t& width, std::int32_t& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) {
        throw usageError("size '" + text + "' is not WIDTHxHEIGHT, e.g. 1024x768");
    }
    width = parseInteger(text.substr(0, x), 1, 0x7FFFFFFF, "width");
    height = parseInteger(text.substr(x + 1), 1, 0x7FFFFFFF, "height");
}

PictureReading pictureReading(const Arguments& args) {
    PictureReading reading;
    if (const auto limit = args.value("--max-pixels")) {
        reading.maxPixels = parseInteger(*limit, 1, 0x7FFFFFFF, "--max-pixels");
    }
    reading.strict = args.has("--strict");
    return reading;
}

void warnAboutRenderEnvironment() {
    const VXRenderEnvironment environment = vxRenderEnvironment();
    warn(environment.threadsProblem);
    warn(environment.simdProblem);
}

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

std::int32_t parseInteger(const std::string& text, std::int32_t low, std::int32_t high, const std::string& what) {
    const bool digits =
        !text.empty() && text.size() <= (text[0] == '-' ? 11u : 10u) &&
        std::all_of(text.begin() + (text[0] == '-' ? 1 : 0), text.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        text != "-";
    if (!digits) {
        throw usageError(what + " '" + text + "' is not a whole number");
    }
    const long long value = std::stoll(text);
    if (value < low || value > high) {
        throw usageError(what + " " + text + " is outside " + std::to_string(low) + ".." + std::to_string(high));
    }
    return static_cast<std::int32_t>(value);
}

// How the output is written: --quality, --chroma, and --background as the colour
// transparency is flattened over where the format has none (render's "transparent"
// canvas flattens over white).
VXPictureWriting pictureWriting(const Arguments& args) {
    VXPictureWriting writing;
    writing.threads = renderThreadCount(); // a PNG is compressed beside the render on as many
    if (const auto quality = args.value("--quality")) {
        writing.quality = parseInteger(*quality, 1, 100, "--quality");
    }
    if (const auto chroma = args.value("--chroma")) {
        if (*chroma != "444" && *chroma != "420") {
            throw usageError("--chroma '" + *chroma + "' is not 444 or 420");
        }
        writing.fullChroma = *chroma == "444";
    }
    if (const auto background = args.value("--background"); background && *background != "transparent") {
        if (*background != "white" && (background->size() != 7 || !parseHexColour(*background, writing.background))) {
            throw usageError("--background '" + *background + "' is not white or #RRGGBB");
        }
    }
    return writing;
}

} // namespace morvessan::cli
