// The studio's pictures, drawn by the same steps as `morvessan render`: the block
// checked, a canvas made row by row as the filter reaches it, the rows streamed to the PNG encoder.
#include "studio/StudioRender.h"

#include "VXLib/VXRowWriter.h"
#include "VXLib/VXUTIL/VXWholeFile.h"
#include "job/JobCanvas.h"
#include "job/JobError.h"
#include "job/JobFiles.h"
#include "job/TextureJob.h"
#include "renderer/RenderThreads.h"

namespace morvessan::studio {

namespace {

class WriterSink : public job::JobRowSink {
public:
    explicit WriterSink(VXRowWriter& writer) : m_writer(writer) {}
    bool take(const std::uint8_t* row) override { return m_writer.writeRow(row); }
    bool finish() override { return m_writer.finish(); }
    std::string error() const override { return rowWriterError(m_writer); }

private:
    VXRowWriter& m_writer;
};

} // namespace

void renderTexturePng(const StudioTexture& texture, std::vector<std::uint8_t> block, const StudioRun& run,
                      VXFileReplacement& file) {
    job::TextureJob textureJob;
    textureJob.block = std::move(block);
    job::FieldEditContext context;
    context.width = texture.width;
    context.height = texture.height;
    context.texturesDir = run.texturesDir;
    context.patternSize = texture.patternSize;
    job::finishBlock(*reinterpret_cast<FilterParameters*>(textureJob.block.data()), context,
                     "reset the transformation to give the plain one");
    textureJob.presetsDir = run.presetsDir;
    textureJob.texturesDir = run.texturesDir;
    textureJob.pattern = patternSpaceOf(texture.pattern);
    textureJob.progress = run.progress;
    textureJob.interrupted = run.interrupted;
    // As render writes it: the PNG compressed beside the render on as many threads.
    VXPictureWriting writing;
    writing.threads = renderThreadCount();
    if (texture.depth == 16 || texture.heightMap || texture.normalMap) {
        // Drawn in the program, as render --depth 16, --height-map and --normal-map draw them.
        textureJob.normal.unit = texture.patternSize;
        job::writeDeepTexture(textureJob, texture.width, texture.height, texture.background,
                              texture.normalMap   ? DeepKind::NormalMap
                              : texture.heightMap ? DeepKind::HeightMap
                                                  : DeepKind::Colour,
                              file, writing, [&](std::int32_t rows) {
                                  if (run.progress) {
                                      run.progress(rows, texture.height);
                                  }
                              });
        return;
    }
    HostImage shape = canvasShape(texture.width, texture.height, texture.background);
    std::string error;
    const std::unique_ptr<VXRowWriter> writer = beginHostImageRows(file, shape, error, writing, false);
    if (!writer) {
        throw job::JobError(error);
    }
    WriterSink sink(*writer);
    job::runTextureJob(std::move(textureJob), std::move(shape), &sink, canvasRows(texture.width, texture.background));
}

std::string renderTexturePngBytes(const StudioTexture& texture, std::vector<std::uint8_t> block, const StudioRun& run) {
    VXFileReplacement file;
    if (!file.beginPrivate(temporaryFolder("the studio's pictures are made through it"), "studio.png")) {
        throw job::JobError(file.error());
    }
    renderTexturePng(texture, std::move(block), run, file);
    const VXFileBytes read = vxReadWholeFile(file.temporaryPath(), std::uint64_t{1} << 32);
    if (!read.error.empty()) {
        throw job::JobError(read.error);
    }
    file.discard();
    return read.bytes;
}

} // namespace morvessan::studio
