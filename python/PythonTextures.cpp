// Texture runs for the Python module: the block made as the command line makes
// it, the run through FilterHost, and failures as the command line words them.
#include "python/PythonTextures.h"

#include "host/FilterHost.h"
#include "texture/PatternField.h"
#include "host/HostCanvas.h"
#include "host/HostFiles.h"
#include "host/HostPictureReader.h"
#include "job/JobEdits.h"
#include "job/JobError.h"
#include "job/JobLibrary.h"
#include "texture/FilterParameters.h"
#include "texture/TextureFieldTable.h"

#include <mutex>
#include <stdexcept>

namespace morvessan::python {

namespace {

// The plug-in object is one per process: runs take turns.
std::mutex g_runs;

std::vector<std::uint8_t> requestedBlock(const TextureRequest& request, const TextureFolders& folders) {
    std::vector<std::uint8_t> bytes(kFilterParametersSize, 0);
    auto* block = reinterpret_cast<FilterParameters*>(bytes.data());
    writeDefaultParameters(*block);
    const job::PresetChoice choice{request.presetFile, request.category, request.preset};
    try {
        if (choice.any()) {
            PresetLibrary library;
            job::loadLibrary(library, folders.presets, folders.textures, block->texture);
            job::applyChoice(*block, library, choice);
        }
    } catch (const job::JobError& error) {
        throw RequestError{error.what()};
    }
    for (const auto& [name, text] : request.fields) {
        const TextureField* field = findTextureField(name);
        if (field == nullptr) {
            throw RequestError{"unknown field '" + name + "'"};
        }
        if (const std::string problem = setTextureField(block->texture, *field, text); !problem.empty()) {
            throw RequestError{problem};
        }
    }
    // A texture picture that cannot be used is refused, as on the command line,
    // rather than left out of the picture without a word.
    if (block->texture.textureEnabled) {
        try {
            job::checkTexturePicture(readField(block->texture.texturePath, kPathSize));
        } catch (const job::JobError& error) {
            throw RequestError{error.what()};
        }
    }
    return bytes;
}

// The pattern size applied for a picture of this size.
void applySize(std::vector<std::uint8_t>& bytes, const HostImage& image, std::int32_t patternSize) {
    if (patternSize < 0 || patternSize > kMaxHostSide) {
        throw RequestError{"pattern_size '" + std::to_string(patternSize) + "' is outside 1.." +
                           std::to_string(kMaxHostSide)};
    }
    job::FieldEditContext context;
    context.width = image.width;
    context.height = image.height;
    context.patternSize = patternSize;
    job::applyPatternSize(reinterpret_cast<FilterParameters*>(bytes.data())->texture.transformation, context);
}

HostImage run(HostImage image, std::vector<std::uint8_t> bytes, const TextureRequest& request,
              const PatternSpace& pattern = {}) {
    applySize(bytes, image, request.patternSize);
    const std::lock_guard<std::mutex> turn(g_runs);
    FilterHost host;
    host.setAbortCheck(request.interrupted);
    host.setImage(std::move(image));
    host.setParameterBytes(bytes);
    if (!pattern.plain()) {
        host.setComplexProperty(kPatternSpaceSignature, kPatternSpaceKey, encodePatternSpace(pattern));
    }
    if (const int16 result = host.run(); result != noErr) {
        throw std::runtime_error(describeFailure(result, host.errorString()));
    }
    return std::move(host.image());
}

// A blank canvas of a size and background the command line would take.
HostImage checkedCanvas(std::int32_t width, std::int32_t height, const std::string& background) {
    const bool transparent = background == "transparent";
    if (const std::string problem = canvasBackgroundProblem(background); !problem.empty()) {
        throw RequestError{problem};
    }
    if (width < 1 || height < 1) {
        throw RequestError{"size " + std::to_string(width) + "x" + std::to_string(height) + " has no pixels"};
    }
    if (const std::string problem = pictureSizeProblem(width, height, transparent ? 4 : 3); !problem.empty()) {
        throw RequestError{"size " + std::to_string(width) + "x" + std::to_string(height) + ": " + problem};
    }
    return blankCanvas(width, height, background);
}

// The pattern space a render asks for, or a RequestError in the keywords' names.
PatternSpace requestedPattern(const TextureRequest& request) {
    if (const std::string problem = patternRequestProblem(request.pattern, PatternOptionNames{"evolve=DZ", "loop=N"});
        !problem.empty()) {
        throw RequestError{problem};
    }
    return patternSpaceOf(request.pattern);
}

} // namespace

HostImage renderTexture(std::int32_t width, std::int32_t height, const std::string& background,
                        const TextureRequest& request, const TextureFolders& folders) {
    HostImage canvas = checkedCanvas(width, height, background);
    const PatternSpace pattern = requestedPattern(request);
    return run(std::move(canvas), requestedBlock(request, folders), request, pattern);
}

DeepTexture renderDeepTexture(std::int32_t width, std::int32_t height, const std::string& background,
                              const TextureRequest& request, const TextureFolders& folders, DeepKind kind) {
    const HostImage canvas = checkedCanvas(width, height, background);
    const PatternSpace pattern = requestedPattern(request);
    std::vector<std::uint8_t> bytes = requestedBlock(request, folders);
    applySize(bytes, canvas, request.patternSize);
    const DeepCanvas under = deepCanvas(background);
    const auto* block = reinterpret_cast<const FilterParameters*>(bytes.data());
    // Drawn here, not by the filter, which would otherwise refuse what cannot be drawn.
    if (const std::string refusal = patternRefusal(block->texture.transformation, pattern); !refusal.empty()) {
        throw std::runtime_error(refusal);
    }
    DeepTexture picture{width, height, deepPlanes(kind, under),
                        deepPicture(*block, width, height, under, kind, pattern,
                                    [&] { return !request.interrupted || !request.interrupted(); })};
    if (picture.samples.empty()) { // the canvas has pixels: only a stop leaves none
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
    const PatternRequest& pattern = request.pattern;
    if (pattern.tileable || pattern.evolve || pattern.loop || pattern.frame != 0) {
        throw RequestError{"tileable, evolve, loop and frame belong to render: they make a new picture"};
    }
    return run(std::move(image), requestedBlock(request, folders), request);
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
