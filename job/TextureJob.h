// One texture job: a parameter block run by the filter over a picture or a new
// canvas, its picture kept whole or streamed row by row to a sink, or drawn in 16 bits.
#pragma once

#include "VXLib/VXImageWriter.h"
#include "host/FilterHost.h"
#include "job/JobDeepPicture.h"
#include "host/HostImage.h"
#include "job/JobEdits.h"
#include "job/JobLibrary.h"
#include "texture/PatternSpace.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvessan {
class VXFileReplacement;
}

namespace morvessan::job {

// The block a job starts from, before the front end's own edits: a kept block or
// the defaults, then the chosen preset (or, for a first render with nothing
// chosen, the library's showcase), then fields set by name from their text.
struct BlockRequest {
    std::vector<std::uint8_t> kept; // a block read from a file; empty: the defaults
    PresetChoice choice;
    bool showcase = false;
    // A new canvas described from the defaults up (no kept block, no preset): its
    // gradient starts opaque (kVisibleGradient), since the block's own default, clear
    // to white, shows next to nothing over a white canvas. A gradient given wins.
    bool visible = false;
    std::string presetsDir;
    std::string texturesDir;
    std::vector<std::pair<std::string, std::string>> fields; // ("noiseSeed", "7"), in order
};

struct StartedBlock {
    std::vector<std::uint8_t> bytes;
    std::string chosen; // "'Preset' from File", or empty when no preset was applied
};

// The gradient a texture drawn onto a new canvas from the defaults up starts with:
// black to white, opaque, so that any type and seed shows its whole range.
inline constexpr const char* kVisibleGradient = "#000000@0,#FFFFFF@255";

// The fields a render from the defaults up starts with: the defaults, with that gradient.
TextureFields visibleDefaultFields();

// The block of `request`; a JobError (a request error for a field or value) when
// a preset or field cannot be had.
StartedBlock startBlock(const BlockRequest& request);

// The last edits and checks before a block is run: the pattern size, a
// transformation that can place a texture (`fix` says how to mend it in the
// front end's words), and a texture picture the filter can use.
void finishBlock(FilterParameters& block, const FieldEditContext& context, const std::string& fix);

// A run's picture as the filter finishes it, row by row in order.
class JobRowSink {
public:
    virtual ~JobRowSink() = default;
    // False stops the run; error() then says why.
    virtual bool take(const std::uint8_t* row) = 0;
    // After the last row: false when the picture could not be completed.
    virtual bool finish() = 0;
    virtual std::string error() const = 0;
};

struct TextureJob {
    std::vector<std::uint8_t> block; // the parameter block to run
    // The folders handed to the filter through the environment every module of the
    // process shares; left as they are when empty.
    std::string presetsDir;
    std::string texturesDir;
    std::optional<HostMask> mask;
    std::optional<VXPSRect> rect;
    PatternSpace pattern;     // the plane unless the render tiles or evolves
    NormalStyle normal;       // how a normal map is drawn (DeepKind::NormalMap)
    bool interactive = false; // the filter's dialog is shown
    std::function<void(std::int32_t done, std::int32_t total)> progress;
    std::function<bool()> interrupted; // asked now and then: true stops the run
};

struct JobResult {
    HostImage image;                 // the picture, when no sink took its rows
    std::vector<std::uint8_t> block; // the block as the filter left it
};

// Runs the filter over `source` with the entry of pluginEntry(). With a sink the
// rows leave as the filter finishes them (on a thread of their own when the
// renderer has more than one), and with `canvas` a new canvas's rows are made only
// as the filter reaches them, so a large render never holds its picture whole.
// Runs take turns: the plug-in is one per process. A JobError when the run fails
// (kCancelledStatus when cancelled in the dialog) or the sink refuses a row.
JobResult runTextureJob(TextureJob job, HostImage source, JobRowSink* sink = nullptr,
                        const std::function<void(std::int32_t y, std::uint8_t* row)>& canvas = {});

// The job's texture over a width x height canvas in 16 bits, drawn in the program
// (the filter interface carries 8 bits): each row of width x planes samples goes
// to `row` in order. False when `row` refused one or the job was interrupted; a
// JobError when the pattern space cannot be drawn with the block's transformation.
bool drawDeepTexture(const TextureJob& job, std::int32_t width, std::int32_t height, const DeepCanvas& canvas,
                     DeepKind kind, const std::function<bool(const std::uint16_t* row)>& row);

// The 16-bit picture of `kind` over a width x height canvas of `background`,
// drawn by drawDeepTexture and streamed row by row into `file`'s PNG encoder (the
// caller began it with a PNG name and commits it), compressed as `writing` says.
// `rowsTaken` hears of each row written. A JobError when it cannot be drawn or written.
void writeDeepTexture(const TextureJob& job, std::int32_t width, std::int32_t height, std::string_view background,
                      DeepKind kind, VXFileReplacement& file, const VXPictureWriting& writing,
                      const std::function<void(std::int32_t rows)>& rowsTaken);

} // namespace morvessan::job
