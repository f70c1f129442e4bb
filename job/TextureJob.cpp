// A texture job's block, its run through FilterHost with the picture kept or
// streamed, and its 16-bit drawing.
#include "job/TextureJob.h"

#include "VXLib/VXRowWriter.h"
#include "VXLib/VXUTIL/VXPlatform.h"
#include "job/JobFiles.h"
#include "host/HostRowPipe.h"
#include "job/JobError.h"
#include "job/JobPlatform.h"
#include "plugin/PSMorvessanModuleSettings.h"
#include "renderer/RenderThreads.h"
#include "texture/FilterParameters.h"
#include "texture/PatternField.h"
#include "texture/SeamlessTile.h"
#include "texture/TextureFieldTable.h"

#include <cstring>
#include <mutex>

namespace morvessan::job {

namespace {

// The plug-in object is one per process: runs take turns.
std::mutex g_runs;

} // namespace

TextureFields visibleDefaultFields() {
    TextureFields fields{};
    writeDefaultFields(fields);
    const std::string problem = setTextureField(fields, textureField(TextureFieldId::Colours), kVisibleGradient);
    (void)problem; // a constant the table reads
    return fields;
}

StartedBlock startBlock(const BlockRequest& request) {
    const bool kept = request.kept.size() == kFilterParametersSize;
    StartedBlock started{kept ? request.kept : std::vector<std::uint8_t>(kFilterParametersSize, 0), {}};
    auto* block = reinterpret_cast<FilterParameters*>(started.bytes.data());
    if (!kept) {
        writeDefaultParameters(*block);
    }
    if (!kept && request.visible && !request.choice.any() && !request.showcase) {
        setTextureField(block->texture, textureField(TextureFieldId::Colours), kVisibleGradient);
    }
    if (request.choice.any() || request.showcase) {
        PresetLibrary library;
        loadLibrary(library, request.presetsDir, request.texturesDir, block->texture);
        started.chosen =
            request.choice.any() ? applyChoice(*block, library, request.choice) : applyShowcase(*block, library);
    }
    for (const auto& [name, text] : request.fields) {
        const TextureField* field = findTextureField(name);
        if (field == nullptr) {
            throw requestError("unknown field '" + name + "'");
        }
        if (const std::string problem = setTextureField(block->texture, *field, text); !problem.empty()) {
            throw requestError(problem);
        }
    }
    return started;
}

void finishBlock(FilterParameters& block, const FieldEditContext& context, const std::string& fix) {
    applyPatternSize(block.texture.transformation, context);
    checkTransformation(block.texture.transformation, fix);
    // A texture picture that cannot be used is refused rather than left out of
    // the picture without a word, as the filter would.
    if (block.texture.textureEnabled) {
        checkTexturePicture(readField(block.texture.texturePath, kPathSize));
    }
}

JobResult runTextureJob(TextureJob job, HostImage source, JobRowSink* sink,
                        const std::function<void(std::int32_t y, std::uint8_t* row)>& canvas) {
    const std::lock_guard<std::mutex> turn(g_runs);
    // The plug-in, linked in or loaded from a module, finds its folders in the
    // environment the process shares with every module.
    if ((!job.presetsDir.empty() && !vxPlatform().setEnvironment(kPresetFolderVariable, job.presetsDir)) ||
        (!job.texturesDir.empty() && !vxPlatform().setEnvironment(kTextureFolderVariable, job.texturesDir))) {
        throw JobError("cannot hand the presets and textures folders to the filter through the environment");
    }
    FilterHost host(pluginEntry());
    host.setRowPadding(0); // rows as they are, the input served without a copy
    const std::size_t rowBytes = std::size_t(source.width) * std::size_t(source.planes);
    host.setImage(std::move(source));
    host.setMask(std::move(job.mask));
    host.setFilterRect(job.rect);
    host.setPlayInfo(job.interactive ? plugInDialogDisplay : plugInDialogSilent);
    host.setParameterBytes(job.block);
    host.setAbortCheck(job.interrupted);
    if (!job.pattern.plain()) {
        host.setComplexProperty(kPatternSpaceSignature, kPatternSpaceKey, encodePatternSpace(job.pattern));
    }
    if (job.progress) {
        host.setProgressListener(job.progress);
    }
    std::optional<HostRowPipe> pipe; // stopped before the sink's owner goes
    if (sink != nullptr) {
        const auto take = [sink](const std::uint8_t* row) { return sink->take(row); };
        // With more than one thread the encoder runs beside the render on a thread of its own.
        if (renderThreadCount() > 1) {
            pipe.emplace(rowBytes, take);
        }
        HostRowPipe* through = pipe ? &*pipe : nullptr;
        host.setRowStream(HostRowStream{canvas, [through, take](std::int32_t, const std::uint8_t* row) {
                                            return through != nullptr ? through->put(row) : take(row);
                                        }});
    }
    const int16 result = host.run();
    if (job.interactive && result == userCanceledErr) {
        throw JobError("cancelled in the dialog; nothing was written", kCancelledStatus);
    }
    const bool drained = !pipe || pipe->close();
    if (sink != nullptr && (result == kRowSinkErr || (result == noErr && (!drained || !sink->finish())))) {
        throw JobError(sink->error());
    }
    if (result != noErr) {
        throw JobError(describeFailure(result, host.errorString()));
    }
    JobResult done;
    done.block = host.parameterBytes();
    if (done.block.size() != kFilterParametersSize) {
        done.block = job.block;
    }
    if (sink == nullptr) {
        done.image = std::move(host.image());
    }
    return done;
}

bool drawDeepTexture(const TextureJob& job, std::int32_t width, std::int32_t height, const DeepCanvas& canvas,
                     DeepKind kind, const std::function<bool(const std::uint16_t* row)>& row) {
    if (job.block.size() != sizeof(FilterParameters)) {
        throw JobError("the parameter block has " + std::to_string(job.block.size()) + " bytes, not " +
                       std::to_string(sizeof(FilterParameters)));
    }
    FilterParameters block;
    std::memcpy(static_cast<void*>(&block), job.block.data(), sizeof block);
    // Drawn here, not by the filter, which would otherwise refuse what cannot be drawn.
    if (const std::string refusal = patternRefusal(block.texture.transformation, job.pattern); !refusal.empty()) {
        throw JobError(refusal);
    }
    // The block's own "Seamless" choice wraps the tile as the filter would draw it.
    return drawDeepPicture(
        block, width, height, canvas, kind,
        [&](const std::uint16_t* samples) { return (!job.interrupted || !job.interrupted()) && row(samples); },
        drawnPatternSpace(block, job.pattern), job.normal);
}

void writeDeepTexture(const TextureJob& job, std::int32_t width, std::int32_t height, std::string_view background,
                      DeepKind kind, VXFileReplacement& file, const VXPictureWriting& writing,
                      const std::function<void(std::int32_t rows)>& rowsTaken) {
    const DeepCanvas under = deepCanvas(background);
    const std::int32_t planes = deepPlanes(kind, under);
    VXRowFormat format;
    format.width = width;
    format.height = height;
    format.kind = planes == 1 ? VXRowKind::Grey : planes == 4 ? VXRowKind::Rgba : VXRowKind::Rgb;
    format.bitDepth = 16;
    std::string error;
    const std::unique_ptr<VXRowWriter> writer = vxBeginRowWriter(file, format, writing, &error);
    if (!writer) {
        throw JobError(error);
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * planes * 2);
    const bool drawn = drawDeepTexture(job, width, height, under, kind, [&](const std::uint16_t* samples) {
        // PNG keeps the most significant byte first.
        for (std::size_t i = 0; i < bytes.size() / 2; ++i) {
            bytes[2 * i] = static_cast<std::uint8_t>(samples[i] >> 8);
            bytes[2 * i + 1] = static_cast<std::uint8_t>(samples[i] & 0xFFu);
        }
        const bool taken = writer->writeRow(bytes.data());
        if (rowsTaken) {
            rowsTaken(writer->rowsWritten());
        }
        return taken;
    });
    if (!drawn || !writer->finish()) {
        if (job.interrupted && job.interrupted()) {
            throw JobError("the picture was stopped", kCancelledStatus);
        }
        throw JobError(rowWriterError(*writer));
    }
}

} // namespace morvessan::job
