// What the command line's commands share: failures as one clear line, option
// parsing, the platform the program runs on, and the progress bar.
#pragma once

#include "VXLib/VXImageWriter.h"
#include "job/JobPictureReader.h"
#include "job/JobError.h"
#include "job/JobFolders.h"
#include "job/JobMessages.h"
#include "job/JobPlatform.h"

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvessan::cli {

// The command line is a front end of the texture job: the commands use the job's
// names as their own.
using namespace morvessan::job;

// A wrong command line: exit status 2.
inline JobError usageError(const std::string& what) { return job::requestError(what); }

// Options of one command: flags, options with one value, and the operands left.
class Arguments {
public:
    // `valued` and `flags` are the option names the command accepts ("--size").
    Arguments(const std::string& command, const std::vector<std::string>& args, const std::vector<std::string>& valued,
              const std::vector<std::string>& flags);

    bool help() const { return m_help; }
    bool has(const std::string& name) const;
    std::optional<std::string> value(const std::string& name) const;
    const std::vector<std::string>& operands() const { return m_operands; }
    // Every option with its value (empty for flags) in the order given, repeats included.
    const std::vector<std::pair<std::string, std::string>>& ordered() const { return m_ordered; }
    // Exactly `count` operands, or a usage error naming them.
    void expectOperands(std::size_t count, const std::string& names) const;

private:
    std::string m_command;
    bool m_help = false;
    std::map<std::string, std::string> m_values;
    std::vector<std::string> m_flags;
    std::vector<std::string> m_operands;
    std::vector<std::pair<std::string, std::string>> m_ordered;
};

// Installs the platform of the command line (see installJobPlatform).
inline void installCliPlatform(const std::string& argv0) { job::installJobPlatform(argv0); }

// A bar on stderr over a whole command (reading, rendering and writing), when
// stderr is a terminal and not quiet. It is wiped when it ends, and before any
// message or summary, so that those start at the left of a line of their own.
class ProgressBar {
public:
    ProgressBar(const std::string& label, bool quiet);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;
    // `done` of `total`: 100 % only when all is done.
    void update(std::int64_t done, std::int64_t total);
    // Wipes the bar's line; the next update draws it again.
    void breakLine();
    // The line as drawn for `percent` (without the carriage return).
    std::string line(int percent) const;

private:
    std::string m_label;
    bool m_active;
    int m_shown = -1;
};

// "WxH", each a whole number from 1; whether the picture fits is for pictureSizeProblem.
void parseSize(const std::string& text, std::int32_t& width, std::int32_t& height);
// A whole decimal number in [low, high], or a usage error naming `what`.
std::int32_t parseInteger(const std::string& text, std::int32_t low, std::int32_t high, const std::string& what);

// How input pictures are read: "--max-pixels N" and "--strict".
PictureReading pictureReading(const Arguments& args);

// Warns about MORVESSAN_THREADS or MORVESSAN_SIMD values the renderer ignores,
// saying what it does instead.
void warnAboutRenderEnvironment();

// Removes the temporary files of unfinished writes when the program is stopped by
// Ctrl-C, a termination signal or a closed pipe, then ends it as the signal would; a
// file-size limit makes writes fail instead of ending the program.
void installInterruptCleanup();

// Standard input read whole in binary mode (pictures through pipes), refused with
// a JobError when empty or larger than `limit` bytes. Reading stops after the
// first bytes when they start no picture, so a stream of junk is not read whole.
std::string readStandardInput(std::uint64_t limit);
// Bytes written to standard output in binary mode; false with the cause in `error`.
bool writeStandardOutput(std::string_view bytes, std::string& error);
// Whether everything printed on standard output reached it; false with the cause
// ("cannot write standard output: the disk is full") in `error`.
bool standardOutputWritten(std::string& error);

// The help text of each command.
extern const char* const kMainHelp;

// How an output picture is written: --quality, --chroma, and --background as the
// colour transparency is flattened over where the format has none.
VXPictureWriting pictureWriting(const Arguments& args);

} // namespace morvessan::cli
