// What every command includes: the job's names, its arguments, progress bar and
// streams, and how its options read and write pictures.
#pragma once

#include "VXLib/VXImageWriter.h"
#include "job/JobPictureReader.h"
#include "job/JobError.h"
#include "job/JobFolders.h"
#include "job/JobMessages.h"
#include "job/JobPlatform.h"
#include "cli/CliArguments.h"
#include "cli/CliProgressBar.h"
#include "cli/CliStreams.h"

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

// Installs the platform of the command line (see installJobPlatform).
inline void installCliPlatform(const std::string& argv0) { job::installJobPlatform(argv0); }

// How input pictures are read: "--max-pixels N" and "--strict".
PictureReading pictureReading(const Arguments& args);

// Warns about MORVESSAN_THREADS or MORVESSAN_SIMD values the renderer ignores,
// saying what it does instead.
void warnAboutRenderEnvironment();

// The help text of each command.
extern const char* const kMainHelp;

// How an output picture is written: --quality, --chroma, and --background as the
// colour transparency is flattened over where the format has none.
VXPictureWriting pictureWriting(const Arguments& args);

} // namespace morvessan::cli
