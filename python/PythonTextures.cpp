// Texture runs for the Python module: requests made into texture jobs, run and
// worded as the command line runs and words them.
#include "python/PythonTextures.h"

#include "job/JobCanvas.h"
#include "job/JobFiles.h"
#include "job/JobError.h"
#include "job/JobOptions.h"
#include "job/TextureJob.h"
#include "texture/FilterParameters.h"
#include "texture/TextureFieldTable.h"

#include <stdexcept>

namespace morvessan::python {

namespace {

// Runs a step of the job whose refusal is the caller's mistake: its JobError
// becomes a RequestError, which the module raises as ValueError.
template <typename Step>
auto asRequest(Step step) {
    try {
        return step();
    } catch (const job::JobError& error) {
        throw RequestError{error.what()};
    }
}

std::vector<std::uint8_t> requestedBlock(const TextureRequest& request, const TextureFolders& folders,
                                         bool newCanvas = false) {
    job::BlockRequest block;
    block.choice = job::PresetChoice{request.presetFile, request.category, request.preset};
    block.presetsDir = folders.presets;
    block.texturesDir = folders.textures;
    block.fields = request.fields;
    // A type or seed given alone on a new canvas still shows its whole range, as on the command line.
    block.visible = newCanvas;
    return asRequest([&] { return job::startBlock(block).bytes; });
}

// The job of a request over a width x height picture: the pattern size applied and
// the block checked as the command line checks it.
job::TextureJob requestedJob(const TextureRequest& request, const TextureFolders& folders, std::int32_t width,
                             std::int32_t height, const PatternSpace& pattern = {}, bool newCanvas = false) {
    asRequest([&] { return job::jobInteger(job::jobOption("pattern_size"), request.patternSize, "pattern_size"); });
    job::TextureJob textureJob;
    textureJob.block = requestedBlock(request, folders, newCanvas);
    textureJob.pattern = pattern;
    textureJob.mask = request.mask;
    textureJob.interrupted = request.interrupted;
    job::FieldEditContext context;
    context.width = width;
    context.height = height;
    context.patternSize = request.patternSize;
    asRequest([&] {
        job::finishBlock(*reinterpret_cast<FilterParameters*>(textureJob.block.data()), context,
                         "transformation=[1,0,0,0,1,0,0,0,1] gives the plain one");
    });
    return textureJob;
}

HostImage run(HostImage image, const TextureRequest& request, const TextureFolders& folders,
              const PatternSpace& pattern = {}) {
    job::TextureJob textureJob = requestedJob(request, folders, image.width, image.height, pattern);
    try {
        return job::runTextureJob(std::move(textureJob), std::move(image)).image;
    } catch (const job::JobError& error) {
        throw std::runtime_error(error.what());
    }
}

// The rows of a streamed run, handed on as they come.
class RowsSink : public job::JobRowSink {
public:
    explicit RowsSink(const std::function<void(std::int32_t, const std::uint8_t*)>& row) : m_row(row) {}
    bool take(const std::uint8_t* row) override {
        m_row(m_next++, row);
        return true;
    }
    bool finish() override { return true; }
    std::string error() const override { return {}; }

private:
    const std::function<void(std::int32_t, const std::uint8_t*)>& m_row;
    std::int32_t m_next = 0;
};

// The pattern space a render asks for, or a RequestError in the keywords' names.
PatternSpace requestedPattern(const TextureRequest& request) {
    if (const std::string problem = patternRequestProblem(request.pattern, PatternOptionNames{"evolve=DZ", "loop=N"});
        !problem.empty()) {
        throw RequestError{problem};
    }
    return patternSpaceOf(request.pattern);
}

} // namespace

void checkCanvas(std::int32_t width, std::int32_t height, const std::string& background) {
    if (const std::string problem = canvasBackgroundProblem(background); !problem.empty()) {
        throw RequestError{problem};
    }
    if (width < 1 || height < 1) {
        throw RequestError{"size " + std::to_string(width) + "x" + std::to_string(height) + " has no pixels"};
    }
    if (width > kMaxStreamedSide || height > kMaxStreamedSide) {
        throw RequestError{"size " + std::to_string(width) + "x" + std::to_string(height) + " is larger than " +
                           std::to_string(kMaxStreamedSide) + " pixels a side, the most render draws"};
    }
}

void renderTexture(std::int32_t width, std::int32_t height, const std::string& background,
                   const TextureRequest& request, const TextureFolders& folders,
                   const std::function<void(std::int32_t y, const std::uint8_t* row)>& row) {
    checkCanvas(width, height, background);
    job::TextureJob textureJob = requestedJob(request, folders, width, height, requestedPattern(request), true);
    HostImage shape = canvasShape(width, height, background);
    RowsSink sink(row);
    try {
        job::runTextureJob(std::move(textureJob), std::move(shape), &sink, canvasRows(width, background));
    } catch (const job::JobError& error) {
        throw std::runtime_error(error.what());
    }
}

DeepTexture renderDeepTexture(std::int32_t width, std::int32_t height, const std::string& background,
                              const TextureRequest& request, const TextureFolders& folders, DeepKind kind) {
    // Drawn in the program: no 8-bit canvas is needed, only its size checked.
    checkCanvas(width, height, background);
    job::TextureJob textureJob = requestedJob(request, folders, width, height, requestedPattern(request), true);
    textureJob.normal = request.normal;
    textureJob.normal.unit = request.patternSize;
    const DeepCanvas under = deepCanvas(background);
    DeepTexture picture{width, height, deepPlanes(kind, under), {}};
    const std::size_t rowSamples = std::size_t(width) * std::size_t(picture.planes);
    picture.samples.reserve(rowSamples * std::size_t(height));
    bool drawn = false;
    try {
        drawn = job::drawDeepTexture(textureJob, width, height, under, kind, [&](const std::uint16_t* row) {
            picture.samples.insert(picture.samples.end(), row, row + rowSamples);
            return true;
        });
    } catch (const job::JobError& error) {
        throw std::runtime_error(error.what());
    }
    if (!drawn) { // the canvas has pixels: only a stop leaves it unfinished
        throw std::runtime_error("the render was stopped");
    }
    return picture;
}

HostImage applyTexture(HostImage image, const TextureRequest& request, const TextureFolders& folders) {
    if (image.planes != 3 && image.planes != 4) {
        throw RequestError{"a picture has three planes (RGB) or four (RGBA), not " + std::to_string(image.planes)};
    }
    if (const std::string problem = pictureSizeProblem(image.width, image.height, image.planes); !problem.empty()) {
        throw RequestError{problem};
    }
    if (request.mask && (request.mask->width != image.width || request.mask->height != image.height)) {
        throw RequestError{"the mask is " + std::to_string(request.mask->width) + " x " +
                           std::to_string(request.mask->height) + " but the picture is " + std::to_string(image.width) +
                           " x " + std::to_string(image.height)};
    }
    const PatternRequest& pattern = request.pattern;
    if (pattern.tileable || pattern.evolve || pattern.loop || pattern.frame != 0) {
        throw RequestError{"tileable, evolve, loop and frame belong to render: they make a new picture"};
    }
    return run(std::move(image), request, folders);
}

std::vector<PresetName> listPresets(const TextureFolders& folders) {
    PresetLibrary library;
    job::loadLibrary(library, folders.presets, folders.textures, TextureFields{});
    std::vector<PresetName> names;
    if (!job::libraryOnDisk(library)) {
        return names;
    }
    for (int f = 0; f < library.fileCount(); ++f) {
        const PresetFile& file = library.file(f);
        for (int c = 0; c < file.categoryCount(); ++c) {
            for (int p = 0; p < file.presetCount(c); ++p) {
                names.push_back(PresetName{file.name(), file.categoryName(c), file.presetName(c, p)});
            }
        }
    }
    return names;
}

std::vector<std::pair<std::string, std::string>> presetFields(const TextureRequest& choice,
                                                              const TextureFolders& folders) {
    TextureRequest presetOnly = choice;
    presetOnly.fields.clear();
    const std::vector<std::uint8_t> bytes = requestedBlock(presetOnly, folders);
    const auto* block = reinterpret_cast<const FilterParameters*>(bytes.data());
    std::vector<std::pair<std::string, std::string>> fields;
    for (const TextureField& field : textureFields()) {
        fields.emplace_back(std::string(field.name), textureFieldText(block->texture, field));
    }
    return fields;
}

} // namespace morvessan::python
