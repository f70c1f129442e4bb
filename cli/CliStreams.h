// The program's standard streams and signals: pictures read from and written to
// pipes in binary mode, and unfinished files removed when the program is stopped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morvessan::cli {

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

} // namespace morvessan::cli
