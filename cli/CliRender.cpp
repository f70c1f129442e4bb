// "render", "apply" and "edit": a whole filter run over a new canvas or an image
// file (without a dialog, or with it for edit), the parameter block kept in a file between runs.
#include "VXLib/VXUTIL/VXAsciiCase.h"
#include "VXLib/VXUTIL/VXNumberText.h"
#include "VXLib/VXImageFile.h"
#include "VXLib/VXRowWriter.h"
#include "VXLib/VXUTIL/VXPlatform.h"
#include "VXLib/VXUTIL/VXRenderEnvironment.h"
#include "job/JobPattern.h"
#include "texture/PatternField.h"
#include "job/JobCanvas.h"
#include "job/JobDeepPicture.h"
#include "job/JobFiles.h"
#include "cli/CliBlockText.h"
#include "cli/CliFields.h"
#include "job/NameSuggestions.h"
#include "job/JobLibrary.h"
#include "cli/CliOptionTable.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "job/JobOptions.h"
#include "job/TextureJob.h"
#include "plugin/PluginMain.h"
#include "renderer/RenderThreads.h"
#include "renderer/TextureMapLoader.h"
#include "texture/TextureFieldTable.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string_view>
#include <utility>

namespace morvessan::cli {

namespace {

const char* const kRenderHelp =
    "usage: morvessan render [options] OUTPUT\n"
    "\n"
    "Renders the texture onto a new canvas and writes it to OUTPUT (.png, .jpg, .bmp;\n"
    "- writes a PNG to standard output).\n"
    "Without --params or preset options a preset of the shipped library is used;\n"
    "with a --params file that does not exist yet, the defaults.\n"
    "\n";

const char* const kApplyHelp =
    "usage: morvessan apply [options] INPUT OUTPUT\n"
    "       morvessan apply [options] --output-dir DIR [--format png|jpg|bmp] INPUT...\n"
    "\n"
    "Renders the texture over the picture INPUT (PNG, JPEG or bitmap; a picture with\n"
    "transparency is filtered with four planes) and writes OUTPUT. INPUT is only\n"
    "replaced when OUTPUT names the same file. - as INPUT reads standard input, as\n"
    "OUTPUT writes a PNG to standard output (messages go to stderr).\n"
    "\n"
    "With --output-dir every INPUT is written to DIR under its own name, in the format\n"
    "--format names or its own; a picture that fails is reported with its name, the\n"
    "others are still done, and the exit status is 1. A batch that would write one\n"
    "output twice, or over another of its inputs, is refused before anything is written.\n"
    "\n"
    "The filter draws 8 bits a channel: a 16-bit INPUT is refused unless --depth 8\n"
    "accepts an 8-bit result.\n"
    "\n"
    "OUTPUT keeps INPUT's colour profile, EXIF block (its orientation too, without\n"
    "its thumbnail, which would show the picture as it was) and resolution where its\n"
    "format holds them (PNG, JPEG; a bitmap its resolution).\n";

const char* const kEditHelp =
    "usage: morvessan edit [options] INPUT OUTPUT\n"
    "\n"
    "Shows the filter's dialog over the picture INPUT, as an image editor would; on OK\n"
    "writes the textured picture to OUTPUT (and the block to --params FILE). Cancel\n"
    "writes nothing and exits with status 3. Windows only (morvessan.exe); --module\n"
    "FILE shows the dialog of an installed filter module (which takes its number of\n"
    "threads from MORVESSAN_THREADS, not from --threads).\n";

const std::vector<std::string> kRunValued{"--params",  "--preset-file", "--category",     "--preset",     "--mask",
                                          "--rect",    "--presets-dir", "--textures-dir", "--max-pixels", "--threads",
                                          "--quality", "--chroma",      "--pattern-size", "--compression"};
const std::vector<std::string> kRunFlags{
    "--scale-by-source", "--overwrite-source", "--no-scale-by-source", "--no-overwrite-source", "--quiet", "--strict"};

// The run options and the texture options together.
std::vector<std::string> runValued() {
    std::vector<std::string> names = kRunValued;
    names.insert(names.end(), fieldValuedOptions().begin(), fieldValuedOptions().end());
    return names;
}

std::vector<std::string> runFlags() {
    std::vector<std::string> names = kRunFlags;
    names.insert(names.end(), fieldFlagOptions().begin(), fieldFlagOptions().end());
    return names;
}

// The same file under two names (both may not exist yet).
bool sameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::equivalent(a, b, ec) && !ec) {
        return true;
    }
    const fs::path left = fs::weakly_canonical(fs::absolute(a, ec), ec);
    const fs::path right = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return left == right;
}

// Sets or clears a stored flag from --NAME / --no-NAME.
void applyFlag(const Arguments& args, const std::string& name, std::uint8_t& flag) {
    const bool on = args.has("--" + name);
    const bool off = args.has("--no-" + name);
    if (on && off) {
        throw usageError("--" + name + " and --no-" + name + " contradict each other");
    }
    if (on || off) {
        flag = on ? 1 : 0;
    }
}

VXPSRect parseRect(const std::string& text, const HostImage& image) {
    std::int32_t values[4];
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = text.find(',', start);
        if ((i < 3) == (comma == std::string::npos)) {
            throw usageError("rectangle '" + text + "' is not X,Y,W,H");
        }
        const std::string part = text.substr(start, i < 3 ? comma - start : std::string::npos);
        values[i] =
            parseInteger(part, i < 2 ? 0 : 1, kMaxStreamedSide, i < 2 ? "rectangle position" : "rectangle size");
        start = comma + 1;
    }
    const VXPSRect rect{values[0], values[1], values[0] + values[2], values[1] + values[3]};
    if (rect.right > image.width || rect.bottom > image.height) {
        throw usageError("rectangle " + text + " does not fit the " + std::to_string(image.width) + "x" +
                         std::to_string(image.height) + " image");
    }
    return rect;
}

// The canvas of render: its size and planes; the run streams its rows, made as the
// filter reaches them (canvasFill), so no picture of its size is ever held.
HostImage makeCanvas(const Arguments& args, const std::string& output) {
    std::int32_t width = 1024;
    std::int32_t height = 768;
    if (const auto size = args.value("--size")) {
        parseSize(*size, width, height);
    }
    const std::string background = args.value("--background").value_or("white");
    // Checked before anything is rendered: only the output's format limits the size.
    const std::int32_t planes = background == "transparent" ? 4 : 3;
    if (const std::string problem = streamedSizeProblem(output, width, height, planes); !problem.empty()) {
        throw usageError("--size " + args.value("--size").value_or("") + ": a picture of " + std::to_string(width) +
                         "x" + std::to_string(height) + " " + problem);
    }
    if (const std::string problem = canvasBackgroundProblem(background); !problem.empty()) {
        throw usageError(problem);
    }
    return canvasShape(width, height, background);
}

std::function<void(std::int32_t, std::uint8_t*)> canvasFill(const Arguments& args, const HostImage& canvas) {
    return canvasRows(canvas.width, args.value("--background").value_or("white"));
}

// The block every run of a command starts from: the kept file or the defaults, the
// chosen preset and the two flags; the texture options are applied per run.
struct BaseBlock {
    std::vector<std::uint8_t> bytes;
    std::string chosen;
    std::string presetsDir;
    std::string texturesDir;
    std::optional<std::int32_t> randomSeed;
    std::optional<std::int32_t> sequenceSeed; // a sequence's seed in place of seed 0
};

BaseBlock prepareBlock(const Arguments& args, bool canvas) {
    if (const auto threads = args.value("--threads")) {
        setRenderThreadLimit(parseInteger(*threads, 1, kMaxRenderThreads, "--threads"));
    } else {
        warnAboutRenderEnvironment();
    }
    // Checked here, so that a command without an input picture refuses it too.
    pictureReading(args);
    BaseBlock base;
    const auto paramsPath = args.value("--params");
    BlockRequest request;
    if (paramsPath) {
        std::error_code ec;
        // A link to a missing file is read, and refused, rather than taken for no file;
        // a file that does not exist yet starts from the defaults.
        if (std::filesystem::exists(std::filesystem::symlink_status(*paramsPath, ec))) {
            request.kept.assign(kFilterParametersSize, 0);
            std::string error;
            if (!readParameterFile(*paramsPath, request.kept, error)) {
                throw JobError(error);
            }
        }
    }
    base.presetsDir = args.value("--presets-dir").value_or(defaultPresetsDir());
    base.texturesDir = args.value("--textures-dir").value_or(defaultTexturesDir());
    request.presetsDir = base.presetsDir;
    request.texturesDir = base.texturesDir;
    request.choice = PresetChoice{args.value("--preset-file"), args.value("--category"), args.value("--preset")};
    // A first render without a block or a choice shows a preset worth seeing.
    // Texture options describe a texture from the defaults up, not an edit of the showcase.
    request.showcase = canvas && !paramsPath && !request.choice.any() && !hasFieldOptions(args) && !hasFrameSteps(args);
    // A type or seed given alone on a new canvas still shows its whole range.
    request.visible = canvas && !paramsPath;
    StartedBlock started = startBlock(request);
    base.bytes = std::move(started.bytes);
    base.chosen = std::move(started.chosen);
    auto* block = reinterpret_cast<FilterParameters*>(base.bytes.data());
    // "--set scaleBySource=on" and the block's other own fields go to the block itself.
    for (const auto& [name, value] : args.ordered()) {
        if (name == "--set" && isBlockOwnField(value.substr(0, value.find('=')))) {
            applyBlockAssignment(*block, value);
        }
    }
    applyFlag(args, "scale-by-source", block->scaleBySource);
    applyFlag(args, "overwrite-source", block->overwriteSource);
    if (args.has("--overwrite-source") && !block->scaleBySource) {
        throw usageError("--overwrite-source acts only together with --scale-by-source");
    }
    // One seed for every picture and frame of the command.
    base.randomSeed = chooseRandomSeed(args);
    return base;
}

// What the texture options of a run over a width x height area edit against.
FieldEditContext editContext(const Arguments& args, const BaseBlock& base, std::int32_t width, std::int32_t height) {
    FieldEditContext context;
    context.width = width;
    context.height = height;
    context.texturesDir = base.texturesDir;
    context.randomSeed = base.randomSeed;
    if (const auto size = args.value("--pattern-size")) {
        context.patternSize = jobInteger(jobOption("pattern_size"), *size, "--pattern-size");
    }
    return context;
}

// Seed 0 draws a new pattern on every render. A sequence draws one seed for all its
// frames instead, and says it, so that the frames belong together and can be made
// again; a slice of a sequence cannot know the seed a whole run drew, so it must be given.
std::optional<std::int32_t> sequenceSeed(const Arguments& args, const BaseBlock& base, const HostImage& canvas,
                                         bool slice) {
    FilterParameters block;
    std::memcpy(static_cast<void*>(&block), base.bytes.data(), sizeof block);
    applyFieldOptions(args, block.texture, editContext(args, base, canvas.width, canvas.height));
    if (block.texture.noiseSeed != 0) {
        return std::nullopt;
    }
    if (slice) {
        throw usageError(
            "seed 0 draws a new pattern on every run, so --frame-range could not match a whole "
            "sequence: give the seed a whole run printed with --seed N");
    }
    return drawSeed();
}

// How one run sits in the command: the dialog or not, its share of one progress bar,
// and the frame whose per-frame steps it applies.
struct RunShape {
    bool interactive = false;
    ProgressBar* bar = nullptr;
    int part = 0;
    int parts = 1;
    int frame = 0;
    FrameSteps* frameSteps = nullptr; // the sequence's steps, carried from frame to frame
    std::optional<DeepKind> deep;     // a 16-bit picture drawn in-process instead of the filter's 8 bits
    PatternSpace pattern;             // the plane unless the render tiles or evolves
    bool summary = true;              // a "Wrote" line of its own (a sequence says one for all)
};

// A picture the run writes to standard output goes through a private scratch file
// first, so that it is encoded by the same writer and nothing half-made reaches the
// pipe. The file has a new name of its own, only its owner may open it, and nothing
// at any fixed name is read or followed; it is copied out piece by piece
// (copyToStandardOutput) and removed, and until then it is one of the temporary
// files a signal removes. This name only names it in messages.
constexpr const char* kStandardOutputName = "morvessan-standard-output.png";

// The pieces the finished picture goes to standard output in: a picture of any size
// takes this much memory to pass on.
constexpr std::size_t kStandardOutputPiece = std::size_t(1) << 18;

// Copies the finished file behind standard output there; a JobError when it cannot.
void copyToStandardOutput(const std::string& path) {
    std::string writeError;
    std::string readError;
    const bool copied = vxReadFileInPieces(
        path, kStandardOutputPiece, [&](std::string_view piece) { return writeStandardOutput(piece, writeError); },
        readError);
    if (!copied) {
        throw JobError(!writeError.empty() ? writeError : "cannot write the picture to standard output: " + readError);
    }
}

// A message about the file behind standard output names standard output.
std::string forStandardOutput(std::string message, const std::string& path) {
    const std::string quoted = "'" + path + "'";
    if (const std::size_t at = message.find(quoted); at != std::string::npos) {
        message.replace(at, quoted.size(), "the picture for standard output");
    }
    return message;
}

// "#RRGGBB" of a colour kept as parseHexColour gives it (red in the low byte).
std::string hexColour(std::uint32_t colour) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (int c = 0; c < 3; ++c) {
        const std::uint32_t value = (colour >> (8 * c)) & 0xFF;
        text += digits[value >> 4];
        text += digits[value & 15];
    }
    return text;
}

// A streamed run's rows into the output file's encoder.
class WriterSink : public JobRowSink {
public:
    WriterSink(VXRowWriter& writer, std::function<std::string(const std::string&)> worded)
        : m_writer(writer), m_worded(std::move(worded)) {}
    bool take(const std::uint8_t* row) override { return m_writer.writeRow(row); }
    bool finish() override { return m_writer.finish(); }
    std::string error() const override { return m_worded(rowWriterError(m_writer)); }

private:
    VXRowWriter& m_writer;
    std::function<std::string(const std::string&)> m_worded;
};

// Runs the filter over `image` and writes OUTPUT. A run without the dialog streams:
// each finished row goes to the encoder at once, and with `canvas` (render) the
// image has no pixels and only the rows the filter reaches are made and held.
// The --mask picture of a run over `image`, which must be of its size.
std::optional<HostMask> loadMask(const Arguments& args, const HostImage& image) {
    const auto maskPath = args.value("--mask");
    if (!maskPath) {
        return std::nullopt;
    }
    HostMask loaded;
    std::string error;
    std::string warning;
    if (!loadHostMask(*maskPath, loaded, error, pictureReading(args), &warning)) {
        throw JobError(error);
    }
    warn(warning);
    if (loaded.width != image.width || loaded.height != image.height) {
        throw JobError("mask '" + *maskPath + "' is " + std::to_string(loaded.width) + "x" +
                       std::to_string(loaded.height) + " but the image is " + std::to_string(image.width) + "x" +
                       std::to_string(image.height));
    }
    return loaded;
}

// How --normal-map draws: --normal-strength and --normal-green, in the unit the
// pattern is laid out in (the pattern size, else the rectangle).
NormalStyle normalStyle(const Arguments& args, const FieldEditContext& context) {
    NormalStyle style;
    if (const auto strength = args.value("--normal-strength")) {
        style.strength =
            jobNumber(jobOption("normal_strength"), parseNumber(*strength, "--normal-strength"), "--normal-strength");
    }
    if (const auto green = args.value("--normal-green")) {
        style.greenUp = jobChoice(jobOption("normal_green"), *green, "--normal-green") == 0;
    }
    style.unit = context.patternSize;
    return style;
}

// The job of one run over `image`: the command's block with this run's texture
// options, sequence seed and frame steps, checked, and the run's mask and area.
TextureJob jobOfRun(const Arguments& args, const BaseBlock& base, const HostImage& image, const RunShape& shape) {
    TextureJob job;
    job.mask = loadMask(args, image);
    if (const auto text = args.value("--rect")) {
        job.rect = parseRect(*text, image);
    }
    job.block = base.bytes;
    auto* block = reinterpret_cast<FilterParameters*>(job.block.data());
    const FieldEditContext context = editContext(args, base, job.rect ? job.rect->right - job.rect->left : image.width,
                                                 job.rect ? job.rect->bottom - job.rect->top : image.height);
    applyFieldOptions(args, block->texture, context);
    if (block->texture.noiseSeed == 0 && base.sequenceSeed) {
        block->texture.noiseSeed = *base.sequenceSeed;
    }
    if (shape.frameSteps != nullptr) {
        shape.frameSteps->apply(block->texture, context, shape.frame);
    }
    finishBlock(*block, context, "--reset-transform or --set transformation=1,0,0,0,1,0,0,0,1 gives the plain one");
    if (block->texture.textureEnabled) {
        // The filter frees its texture picture when a run ends; the command holds it
        // for its other runs (frames, a batch), so that it is decoded once. A module
        // loaded with --module has a loader of its own, which this cannot hold.
        static std::shared_ptr<const VXImage2> held;
        if (pluginEntry() == &PluginMain) {
            held = loadTextureMap(readField(block->texture.texturePath, kPathSize));
        }
    }
    job.presetsDir = base.presetsDir;
    job.texturesDir = base.texturesDir;
    job.pattern = shape.pattern;
    job.interactive = shape.interactive;
    job.normal = normalStyle(args, context);
    return job;
}

// The files a run writes: the picture (or the scratch file behind standard output)
// and the --params block. Both are opened before the run and put in place after
// it, so that they are written both or neither.
class RunOutputs {
public:
    RunOutputs(const std::string& output, const std::optional<std::string>& paramsPath)
        : m_output(output), m_to_pipe(output == "-"), m_params(paramsPath.has_value()) {
        if (m_to_pipe
                ? !m_picture.beginPrivate(temporaryFolder("standard output is written through it"), kStandardOutputName)
                : !m_picture.begin(output)) {
            throw JobError(worded(m_picture.error()));
        }
        if (paramsPath && !m_block.begin(*paramsPath)) {
            throw JobError(m_block.error());
        }
    }

    VXFileReplacement& picture() { return m_picture; }
    const std::string& pictureTarget() const { return m_picture.path(); }
    bool toPipe() const { return m_to_pipe; }
    const std::string& output() const { return m_output; }
    // The output as messages name it.
    std::string shownName() const { return m_to_pipe ? "standard output" : m_output; }
    // A message about the file behind standard output names standard output.
    std::string worded(const std::string& error) const {
        return m_to_pipe ? forStandardOutput(error, m_picture.path()) : error;
    }

    // Writes the block, then puts both files in place (or copies the picture out).
    void commit(const std::vector<std::uint8_t>& block) {
        if (m_params && (!m_block.write(std::string_view(reinterpret_cast<const char*>(block.data()), block.size())) ||
                         !m_block.finish())) {
            throw JobError(m_block.error());
        }
        if (m_to_pipe) {
            if (!m_picture.finish()) {
                throw JobError(worded(m_picture.error()));
            }
            copyToStandardOutput(m_picture.temporaryPath());
            m_picture.discard();
        } else if (!m_picture.commit()) {
            throw JobError(m_picture.error());
        }
        if (m_params && !m_block.commit()) {
            throw JobError(m_block.error() + " (the picture was written)");
        }
    }

private:
    std::string m_output;
    bool m_to_pipe;
    bool m_params;
    VXFileReplacement m_picture;
    VXFileReplacement m_block;
};

// Notes on what the output cannot keep of the picture: transparency, a large profile.
void outputNotes(const Arguments& args, const RunOutputs& outputs, const HostImage& picture, ProgressBar& bar) {
    if (args.has("--quiet")) {
        return;
    }
    if (picture.planes == 4 && !imageFileKeepsAlpha(outputs.pictureTarget())) {
        bar.breakLine();
        std::cerr << "morvessan: note: " << printable(outputs.output())
                  << " keeps no transparency; the picture is flattened over "
                  << hexColour(pictureWriting(args).background) << "\n";
    }
    const std::size_t profile = picture.metadata.icc.size();
    if (const std::size_t most = vxProfileLimit(outputs.pictureTarget()); most > 0 && profile > most) {
        bar.breakLine();
        std::cerr << "morvessan: note: the input's colour profile (" << profile << " bytes) is more than "
                  << printable(outputs.shownName()) << " can carry (" << most << " bytes); it is written without it\n";
    }
}

// One run's share of the command's progress bar: the parts before it counted as
// done; within it the rendering and then the encoding, by their usual shares of the
// time (compressing a PNG is most of a large run, a bitmap is merely copied).
struct RunProgress {
    static constexpr std::int64_t kPart = 1000;
    ProgressBar* bar;
    std::int64_t start;
    std::int64_t whole;
    std::int64_t renderShare;

    void rendered(std::int64_t done, std::int64_t total) const {
        if (total > 0) {
            bar->update(start + done * renderShare / total, whole);
        }
    }
    void encoded(std::int64_t rows, std::int64_t total) const {
        bar->update(start + renderShare + rows * (kPart - renderShare) / std::max<std::int64_t>(1, total), whole);
    }
};

// Runs the filter over `image` and writes OUTPUT. A run without the dialog streams:
// each finished row goes to the encoder at once, and with `canvas` (render) the
// image has no pixels and only the rows the filter reaches are made and held.
int runFilter(const Arguments& args, const BaseBlock& base, HostImage image, const std::string& output,
              const RunShape& shape = {}, const std::function<void(std::int32_t, std::uint8_t*)>& canvas = {}) {
    if (output != "-" && !isWritableImagePath(output)) {
        throw usageError("output '" + output +
                         "' must end in .png, .jpg, .jpeg or .bmp (or be - for a PNG on "
                         "standard output)");
    }
    const VXPictureWriting writing = pictureWriting(args);
    const auto paramsPath = args.value("--params");
    if (paramsPath && output != "-" && sameFile(*paramsPath, output)) {
        throw usageError("--params '" + *paramsPath + "' names the output picture; the block needs a file of its own");
    }
    TextureJob job = jobOfRun(args, base, image, shape);
    RunOutputs outputs(output, paramsPath);

    std::optional<ProgressBar> own;
    ProgressBar* bar = shape.bar != nullptr ? shape.bar : &own.emplace("Rendering", args.has("--quiet"));
    const std::string extension = lowerAscii(std::filesystem::path(output).extension().string());
    const bool streamed = !shape.interactive;
    const RunProgress progress{bar, shape.part * RunProgress::kPart, shape.parts * RunProgress::kPart,
                               streamed || shape.deep                    ? RunProgress::kPart
                               : outputs.toPipe() || extension == ".png" ? 400
                               : extension == ".bmp"                     ? 950
                                                                         : 600};
    const std::int32_t width = image.width;
    const std::int32_t height = image.height;
    std::vector<std::uint8_t> kept = job.block;
    std::string error;
    if (shape.deep) {
        writeDeepTexture(job, image.width, image.height, args.value("--background").value_or("white"), *shape.deep,
                         outputs.picture(), pictureWriting(args),
                         [&](std::int32_t taken) { progress.rendered(taken, height); });
    } else if (streamed) {
        job.progress = [progress](std::int32_t done, std::int32_t total) { progress.rendered(done, total); };
        outputNotes(args, outputs, image, *bar);
        const std::unique_ptr<VXRowWriter> writer =
            beginHostImageRows(outputs.picture(), image, error, writing, args.has("--strip"));
        if (!writer) {
            throw JobError(outputs.worded(error));
        }
        WriterSink sink(*writer, [&outputs](const std::string& text) { return outputs.worded(text); });
        kept = runTextureJob(std::move(job), std::move(image), &sink, canvas).block;
    } else {
        job.progress = [progress](std::int32_t done, std::int32_t total) { progress.rendered(done, total); };
        const JobResult done = runTextureJob(std::move(job), std::move(image));
        outputNotes(args, outputs, done.image, *bar);
        if (!writeHostImage(outputs.picture(), done.image, error, writing, args.has("--strip"),
                            [&](std::int32_t taken) { progress.encoded(taken, done.image.height); })) {
            throw JobError(outputs.worded(error));
        }
        kept = done.block;
    }
    outputs.commit(kept);
    bar->update(progress.start + RunProgress::kPart, progress.whole);
    bar->breakLine();
    if (!args.has("--quiet") && shape.summary) {
        // Standard output may be the picture itself: the summary then goes to stderr.
        (outputs.toPipe() ? std::cerr : std::cout)
            << "Wrote " << printable(outputs.shownName()) << " (" << width << "x" << height
            << (base.chosen.empty() ? std::string() : ", preset " + printable(base.chosen)) << ")\n";
    }
    return 0;
}

// The filter draws 8 bits a channel: a 16-bit input written back with 8 would lose
// what it had beyond them without a word, so that is done only when asked for.
void checkInputDepth(const Arguments& args, const std::string& path, const HostImage& image) {
    if (image.fileBits > 8 && args.value("--depth") != "8") {
        throw JobError((path == "-" ? std::string("standard input") : "'" + path + "'") + " has " +
                       std::to_string(image.fileBits) +
                       " bits a channel and the filter draws 8: give --depth 8 to write the result with 8 bits; "
                       "nothing was written");
    }
}

// One input picture; "-" reads a picture from standard input.
HostImage loadPicture(const Arguments& args, const std::string& path) {
    HostImage image;
    std::string error;
    std::string warning;
    if (path == "-") {
        std::string damage;
        const PictureReading reading = pictureReading(args);
        if (!decodeHostPicture(readStandardInput(pictureFileLimit(reading)), reading, image, error, damage)) {
            throw JobError("cannot read standard input: " + error);
        }
        checkInputDepth(args, path, image);
        warn(damage.empty() ? std::string() : "standard input: " + damage);
        return image;
    }
    if (!loadHostImage(path, image, error, pictureReading(args), &warning)) {
        throw JobError(error);
    }
    checkInputDepth(args, path, image);
    warn(warning);
    return image;
}

// The picture of INPUT OUTPUT commands; the operands are checked first.
HostImage loadInput(const Arguments& args) {
    args.expectOperands(2, "two operands: INPUT OUTPUT");
    return loadPicture(args, args.operands()[0]);
}

// The output of INPUT in the --output-dir folder: its name kept, the extension
// that --format names, or the input's own.
std::string batchOutput(const std::string& dir, const std::string& input, const std::optional<std::string>& format) {
    std::filesystem::path name = std::filesystem::path(input).filename();
    if (format) {
        name.replace_extension("." + *format);
    }
    return (std::filesystem::path(dir) / name).string();
}

// The output of every input of a batch, checked whole before anything is written:
// a batch that would write one output twice (names that differ only in case count
// as one, as they do on Windows and macOS) or write over another of its inputs is
// refused, since the later write would lose a picture the user still has.
std::vector<std::string> batchOutputs(const std::string& dir, const std::vector<std::string>& inputs,
                                      const std::optional<std::string>& format) {
    std::vector<std::string> outputs;
    std::map<std::string, std::size_t> byName;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        outputs.push_back(batchOutput(dir, inputs[i], format));
        if (inputs[i] == "-") {
            continue;
        }
        const auto [earlier, fresh] =
            byName.emplace(lowerAscii(std::filesystem::path(outputs[i]).filename().string()), i);
        if (!fresh) {
            throw JobError("'" + inputs[earlier->second] + "' and '" + inputs[i] + "' would both be written to '" +
                           outputs[i] + "'; nothing was written");
        }
    }
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        for (std::size_t j = 0; j < inputs.size(); ++j) {
            if (i != j && inputs[j] != "-" && sameFile(outputs[i], inputs[j])) {
                throw JobError("the output of '" + inputs[i] + "', '" + outputs[i] + "', is the input '" + inputs[j] +
                               "'; nothing was written");
            }
        }
    }
    return outputs;
}

int applyBatch(const Arguments& args) {
    const std::string dir = *args.value("--output-dir");
    if (args.operands().empty()) {
        throw usageError("'apply --output-dir' takes one or more INPUT pictures (see 'morvessan apply --help')");
    }
    std::optional<std::string> format;
    if (const auto text = args.value("--format")) {
        format = lowerAscii(*text);
        if (*format != "png" && *format != "jpg" && *format != "jpeg" && *format != "bmp") {
            throw usageError("--format '" + *text + "' is not png, jpg or bmp" +
                             didYouMean(*text, {"png", "jpg", "bmp"}));
        }
    }
    // A missing folder is made, with its parents, as the outputs' folder.
    std::error_code made;
    std::filesystem::create_directories(dir, made);
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        const bool there = std::filesystem::exists(std::filesystem::symlink_status(dir, ec));
        throw JobError(
            "--output-dir '" + dir + "' " +
            (there || !made ? std::string("is not a folder") : "is missing and cannot be made: " + made.message()));
    }
    const auto& inputs = args.operands();
    const std::vector<std::string> outputs = batchOutputs(dir, inputs, format);
    const BaseBlock base = prepareBlock(args, false);
    ProgressBar bar("Rendering", args.has("--quiet"));
    int failed = 0;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::string& output = outputs[i];
        try {
            if (inputs[i] == "-") {
                throw usageError("standard input cannot be one of several inputs");
            }
            RunShape shape;
            shape.bar = &bar;
            shape.part = static_cast<int>(i);
            shape.parts = static_cast<int>(inputs.size());
            runFilter(args, base, loadPicture(args, inputs[i]), output, shape);
        } catch (const JobError& error) {
            ++failed;
            const std::string what = error.what();
            // Messages that already name the file keep their words; others get its name.
            bar.breakLine();
            std::cerr << "morvessan: "
                      << printable(what.find(inputs[i]) != std::string::npos ? what : inputs[i] + ": " + what) << "\n";
        }
    }
    if (failed > 0) {
        throw JobError(std::to_string(failed) + " of " + std::to_string(inputs.size()) + " pictures failed");
    }
    return 0;
}

// A time as a person reads it: "0:41", "1:02:05", or "3.2 s" under a minute.
std::string timeText(double seconds) {
    const auto whole = static_cast<std::int64_t>(seconds + 0.5);
    if (seconds < 60) {
        const auto tenths = static_cast<std::int64_t>(seconds * 10 + 0.5);
        return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
    }
    const auto two = [](std::int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    return whole >= 3600 ? std::to_string(whole / 3600) + ":" + two(whole / 60 % 60) + ":" + two(whole % 60)
                         : std::to_string(whole / 60) + ":" + two(whole % 60);
}

// "out-%04d.png": the frame number in place of the one printf-style %d (with an
// optional zero-padded width); without one, "-%04d" goes before the extension.
std::string frameName(const std::string& pattern, int frame) {
    const std::size_t percent = pattern.find('%');
    if (percent == std::string::npos) {
        const std::filesystem::path path(pattern);
        std::filesystem::path name = path.stem();
        name += "-%04d";
        name += path.extension();
        return frameName((path.parent_path() / name).string(), frame);
    }
    std::size_t end = percent + 1;
    int width = 0;
    while (end < pattern.size() && pattern[end] >= '0' && pattern[end] <= '9' && width < 100) {
        width = width * 10 + (pattern[end++] - '0');
    }
    if (end >= pattern.size() || pattern[end] != 'd' || pattern.find('%', end) != std::string::npos || width > 9) {
        throw usageError("output '" + pattern + "' for --frames must hold one %d or %0Nd (N up to 9)");
    }
    std::string number = std::to_string(frame);
    if (static_cast<int>(number.size()) < width) {
        number.insert(0, static_cast<std::size_t>(width) - number.size(), '0');
    }
    return pattern.substr(0, percent) + number + pattern.substr(end + 1);
}

// "A:B" of --frame-range, checked against the sequence; the whole sequence without it.
std::pair<int, int> frameRange(const Arguments& args, int frames) {
    const auto text = args.value("--frame-range");
    if (!text) {
        return {0, frames - 1};
    }
    const std::size_t colon = text->find(':');
    if (colon == std::string::npos) {
        throw usageError("--frame-range '" + *text + "' is not A:B (first and last frame, counted from 0)");
    }
    const int first = parseInteger(text->substr(0, colon), 0, frames - 1, "--frame-range's first frame");
    const int last = parseInteger(text->substr(colon + 1), first, frames - 1, "--frame-range's last frame");
    return {first, last};
}

// --depth and --height-map: a 16-bit picture instead of the filter's 8 bits,
// drawn in the program; checked before any work.
std::optional<DeepKind> deepOutput(const Arguments& args, const std::string& output) {
    std::optional<DeepKind> kind;
    if (const auto depth = args.value("--depth")) {
        if (*depth != "8" && *depth != "16") {
            throw usageError("--depth '" + *depth + "' is not 8 or 16");
        }
        if (*depth == "16") {
            kind = DeepKind::Colour;
        } else if (args.has("--height-map")) {
            throw usageError("--height-map writes 16-bit grey levels, which --depth 8 cannot hold");
        }
    }
    if (args.has("--height-map")) {
        kind = DeepKind::HeightMap;
    }
    if (args.has("--normal-map")) {
        if (kind) {
            throw usageError(std::string("--normal-map writes normals, not ") +
                             (*kind == DeepKind::HeightMap ? "heights (--height-map)" : "colours (--depth 16)"));
        }
        if (args.has("--depth") && args.value("--depth") != "16") {
            throw usageError("--normal-map writes 16-bit samples, which --depth 8 cannot hold");
        }
        kind = DeepKind::NormalMap;
    }
    for (const char* style : {"--normal-strength", "--normal-green"}) {
        if (args.has(style) && kind != DeepKind::NormalMap) {
            throw usageError(std::string(style) + " belongs to --normal-map");
        }
    }
    if (!kind) {
        return kind;
    }
    const std::string what = *kind == DeepKind::HeightMap   ? "--height-map"
                             : *kind == DeepKind::NormalMap ? "--normal-map"
                                                            : "--depth 16";
    if (output != "-" && lowerAscii(std::filesystem::path(output).extension().string()) != ".png") {
        throw usageError(what + " writes a 16-bit PNG: output '" + output +
                         "' must end in .png (JPEG and bitmap files hold 8 bits)");
    }
    if (args.has("--mask") || args.has("--rect")) {
        throw usageError(what + " draws the whole canvas; --mask and --rect belong to 8-bit renders");
    }
    if (pluginEntry() != &PluginMain) {
        throw usageError(what + " is drawn by the program's own filter; --module runs 8-bit renders only");
    }
    return kind;
}

} // namespace

std::vector<std::string> runOptionNames(const std::string& command) {
    std::vector<std::string> names = runValued();
    const std::vector<std::string> flags = runFlags();
    names.insert(names.end(), flags.begin(), flags.end());
    // The per-frame steps belong to render's --frames alone.
    if (command != "render") {
        std::erase_if(names, [](const std::string& name) { return name.rfind("--per-frame-", 0) == 0; });
    }
    if (command == "render") {
        names.insert(names.end(), {"--size", "--background", "--frames", "--frame-range", "--depth", "--height-map",
                                   "--normal-map", "--normal-strength", "--normal-green", "--loop", "--tileable"});
    } else if (command == "apply") {
        names.insert(names.end(), {"--depth", "--output-dir", "--format", "--strip", "--background"});
    } else if (command == "edit") {
        names.push_back("--depth");
    }
    return names;
}

namespace {

// What --tileable, --per-frame-evolve and --loop ask of frame `frame`.
PatternRequest patternRequest(const Arguments& args, int frame) {
    PatternRequest request;
    request.tileable = args.has("--tileable");
    if (const auto step = args.value("--per-frame-evolve")) {
        request.evolve = parseNumber(*step, "--per-frame-evolve");
    }
    if (const auto loop = args.value("--loop")) {
        request.loop = jobInteger(jobOption("loop"), *loop, "--loop");
    }
    request.frame = frame;
    if (const std::string problem = patternRequestProblem(request); !problem.empty()) {
        throw usageError(problem);
    }
    return request;
}

// The frames of the sequence: --frames N, or the N of --loop N.
int sequenceLength(const Arguments& args) {
    const auto loop = args.value("--loop");
    if (!loop) {
        return parseInteger(*args.value("--frames"), 1, kMaxFrames, "--frames");
    }
    const int frames = jobInteger(jobOption("loop"), *loop, "--loop");
    if (const auto given = args.value("--frames"); given && parseInteger(*given, 1, kMaxFrames, "--frames") != frames) {
        throw usageError("--frames " + *given + " and --loop " + *loop + " disagree: --loop N makes N frames");
    }
    for (const char* step : {"--per-frame-move", "--per-frame-rotate", "--per-frame-zoom", "--per-frame-seed"}) {
        if (args.has(step)) {
            throw usageError(std::string("--loop cannot be combined with ") + step +
                             ": the last frame would not flow into the first");
        }
    }
    return frames;
}

} // namespace

int commandRender(const std::vector<std::string>& list) {
    std::vector<std::string> valued = runValued();
    valued.push_back("--size");
    valued.push_back("--background");
    valued.push_back("--frames");
    valued.push_back("--frame-range");
    valued.push_back("--depth");
    valued.push_back("--loop");
    valued.push_back("--normal-strength");
    valued.push_back("--normal-green");
    std::vector<std::string> flags = runFlags();
    flags.push_back("--height-map");
    flags.push_back("--normal-map");
    flags.push_back("--tileable");
    const Arguments args("render", list, valued, flags);
    if (args.help()) {
        std::cout << kRenderHelp << optionsHelp("canvas") << "\n"
                  << optionsHelp("run") << fieldOptionsHelp() << "\nAnimation:\n"
                  << optionsHelp("frames");
        return 0;
    }
    args.expectOperands(1, "one operand: OUTPUT");
    const std::string& output = args.operands()[0];
    if (!args.has("--frames") && !args.has("--loop")) {
        if (hasFrameSteps(args) || args.has("--frame-range")) {
            throw usageError(std::string(args.has("--frame-range") ? "--frame-range" : "the --per-frame options") +
                             " need --frames N or --loop N");
        }
        RunShape shape;
        shape.deep = deepOutput(args, output);
        shape.pattern = patternSpaceOf(patternRequest(args, 0));
        HostImage canvas = makeCanvas(args, output);
        const auto fill = canvasFill(args, canvas);
        return runFilter(args, prepareBlock(args, true), std::move(canvas), output, shape, fill);
    }
    const int frames = sequenceLength(args);
    const auto [first, last] = frameRange(args, frames);
    const bool toPipe = output == "-";
    if (!toPipe) {
        frameName(output, 0); // checks the pattern before any work
    }
    const std::optional<DeepKind> deep = deepOutput(args, output);
    patternRequest(args, 0); // checks the options before any work
    BaseBlock base = prepareBlock(args, true);
    const HostImage canvas = makeCanvas(args, output);
    base.sequenceSeed = sequenceSeed(args, base, canvas, first != 0 || last != frames - 1);
    const auto fill = canvasFill(args, canvas);
    ProgressBar bar("Rendering", args.has("--quiet"));
    FrameSteps steps(args);
    const int count = last - first + 1;
    const auto started = std::chrono::steady_clock::now();
    const auto seconds = [&started] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    for (int k = first; k <= last; ++k) {
        const int done = k - first;
        // Where the sequence is, and once a frame has taken its time, how long the rest will.
        bar.setDetail("frame " + std::to_string(done + 1) + "/" + std::to_string(count) +
                      (done > 0 ? ", " + timeText(seconds() / done * (count - done)) + " left" : std::string()));
        RunShape shape;
        shape.frameSteps = &steps;
        shape.bar = &bar;
        shape.part = done;
        shape.parts = count;
        shape.frame = k;
        shape.deep = deep;
        shape.pattern = patternSpaceOf(patternRequest(args, k));
        shape.summary = false;
        runFilter(args, base, canvas, toPipe ? output : frameName(output, k), shape, fill);
    }
    bar.breakLine();
    if (!args.has("--quiet")) {
        // One line for the sequence, on stderr: standard output may be the frames themselves.
        std::cerr << "Wrote " << count << (count == 1 ? " frame" : " frames") << ", "
                  << (toPipe ? std::string("to standard output")
                             : printable(frameName(output, first)) +
                                   (count > 1 ? " to " + printable(frameName(output, last)) : std::string()))
                  << " (" << canvas.width << "x" << canvas.height
                  << (base.chosen.empty() ? std::string() : ", preset " + printable(base.chosen)) << "), in "
                  << timeText(seconds()) << "\n";
    }
    return 0;
}

int commandApply(const std::vector<std::string>& list) {
    std::vector<std::string> valued = runValued();
    valued.push_back("--output-dir");
    valued.push_back("--format");
    valued.push_back("--background");
    valued.push_back("--depth");
    std::vector<std::string> flags = runFlags();
    flags.push_back("--strip");
    flags.push_back("--height-map");
    const Arguments args("apply", list, valued, flags);
    if (args.help()) {
        std::cout << kApplyHelp << "\n"
                  << optionsHelp("input") << "\n"
                  << optionsHelp("output") << "\n"
                  << optionsHelp("batch") << "\n"
                  << optionsHelp("run") << fieldOptionsHelp();
        return 0;
    }
    if (hasFrameSteps(args)) {
        throw usageError("the --per-frame options belong to 'render --frames'");
    }
    // Input pictures have 8 bits a channel, and so has the textured result.
    if (args.has("--height-map") || (args.has("--depth") && args.value("--depth") != "8")) {
        throw usageError(
            (args.has("--height-map") ? std::string("--height-map") : "--depth " + *args.value("--depth")) +
            " belongs to 'render': apply draws over an 8-bit picture and writes 8 bits");
    }
    if (args.value("--background") == "transparent") {
        throw usageError("--background 'transparent' is not white or #RRGGBB");
    }
    if (args.has("--output-dir")) {
        return applyBatch(args);
    }
    if (args.has("--format")) {
        throw usageError("--format names the outputs of --output-dir");
    }
    HostImage image = loadInput(args);
    return runFilter(args, prepareBlock(args, false), std::move(image), args.operands()[1]);
}

int commandEdit(const std::vector<std::string>& list) {
    std::vector<std::string> valued = runValued();
    valued.push_back("--depth");
    const Arguments args("edit", list, valued, runFlags());
    if (args.help()) {
        std::cout << kEditHelp << "\n"
                  << optionsHelp("input") << "\n"
                  << optionsHelp("windows") << "\n"
                  << optionsHelp("run") << fieldOptionsHelp();
        return 0;
    }
    if (args.has("--depth") && args.value("--depth") != "8") {
        throw usageError("--depth " + *args.value("--depth") + " is not 8: the filter's dialog draws 8 bits a channel");
    }
#if !defined(_WIN32)
    throw usageError("edit shows the filter's dialog, which only the Windows program (morvessan.exe) has");
#else
    HostImage image = loadInput(args);
    // The dialog talks to the user through Windows itself: message boxes, cursors, help.
    vxSetPlatform(vxMakeNativePlatform());
    RunShape shape;
    shape.interactive = true;
    return runFilter(args, prepareBlock(args, false), std::move(image), args.operands()[1], shape);
#endif
}

} // namespace morvessan::cli
