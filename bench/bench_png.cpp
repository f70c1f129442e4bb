// The PNG levels on what `morvessan render` draws (the showcase at 4096 x 4096):
// encode time and file size per level and thread count; and the render's other
// paths (tile, evolving noise, blur, grain) beside the plain one at 2048 x 2048.
#include "VXLib/VXImageWriter.h"
#include "VXLib/VXUTIL/VXPortablePlatform.h"
#include "job/JobPattern.h"
#include "job/TextureJob.h"
#include "renderer/RenderThreads.h"
#include "texture/FilterParameters.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <chrono>
#include <filesystem>
#include <memory>

using namespace morvessan;

namespace {

// The platform a run needs, for the life of a benchmark.
class BenchPlatform {
public:
    BenchPlatform() {
        auto platform = std::make_unique<VXPortablePlatform>();
        platform->setModulePath("/nonexistent-morvessan-bench/XMorvessan.8bf");
        platform->setSettingsFile("");
        m_previous = vxSetPlatform(std::move(platform));
    }
    ~BenchPlatform() { vxSetPlatform(std::move(m_previous)); }
    BenchPlatform(const BenchPlatform&) = delete;
    BenchPlatform& operator=(const BenchPlatform&) = delete;

private:
    std::unique_ptr<VXPlatform> m_previous;
};

// A render of `block` over a white canvas, on the renderer's threads.
HostImage renderBlock(const std::vector<std::uint8_t>& block, std::int32_t side, const PatternSpace& pattern = {}) {
    job::TextureJob textureJob;
    textureJob.block = block;
    textureJob.presetsDir = MORVESSAN_BENCH_PRESETS;
    textureJob.texturesDir = MORVESSAN_BENCH_TEXTURES;
    textureJob.pattern = pattern;
    return job::runTextureJob(std::move(textureJob), HostImage(side, side, 3, 255)).image;
}

// The showcase at 4096 x 4096, rendered once for every level.
const HostImage& showcase() {
    static const HostImage image = [] {
        job::BlockRequest request;
        request.showcase = true;
        request.presetsDir = MORVESSAN_BENCH_PRESETS;
        request.texturesDir = MORVESSAN_BENCH_TEXTURES;
        return renderBlock(job::startBlock(request).bytes, 4096);
    }();
    return image;
}

// Arguments: level (0 fast, 1 default, 2 small), threads beside the writer.
void BM_PngLevel(benchmark::State& state) {
    const BenchPlatform platform;
    const HostImage& image = showcase();
    VXPictureWriting writing;
    writing.compression = static_cast<VXPngCompression>(state.range(0));
    writing.threads = static_cast<std::int32_t>(state.range(1));
    const std::string path =
        (std::filesystem::temp_directory_path() / ("morvessan-bench-" + std::to_string(state.range(0)) + ".png"))
            .string();
    const VXRgbPixels pixels{image.width, image.height, image.planes, image.pixels.data(),
                             std::size_t(image.width) * std::size_t(image.planes)};
    std::uintmax_t size = 0;
    for (auto _ : state) {
        VXFileReplacement file;
        std::string error;
        if (!file.begin(path) || !writeImageFile(file, pixels, &error, writing) || !file.commit()) {
            state.SkipWithError(("the PNG was not written: " + error).c_str());
            break;
        }
        size = std::filesystem::file_size(path);
    }
    std::filesystem::remove(path);
    state.counters["MB"] = static_cast<double>(size) / 1e6;
    state.counters["threads"] = static_cast<double>(writing.threads);
}

// The same picture through libpng's own writer at its defaults (level 6, each row's
// filter chosen by trial): the reference the levels are read against.
void BM_PngLibpngDefaults(benchmark::State& state) {
    const BenchPlatform platform;
    const HostImage& image = showcase();
    const std::string path = (std::filesystem::temp_directory_path() / "morvessan-bench-libpng.png").string();
    std::uintmax_t size = 0;
    for (auto _ : state) {
        png_image png{};
        png.version = PNG_IMAGE_VERSION;
        png.width = png_uint_32(image.width);
        png.height = png_uint_32(image.height);
        png.format = PNG_FORMAT_RGB;
        if (!png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr)) {
            state.SkipWithError("libpng did not write the picture");
            break;
        }
        size = std::filesystem::file_size(path);
    }
    std::filesystem::remove(path);
    state.counters["MB"] = static_cast<double>(size) / 1e6;
}

// Arguments: path (0 plain, 1 tile, 2 evolving noise, 3 blur 10, 4 grain 20), on
// one thread: the default block (Cloud, 8 octaves) at 2048 x 2048.
void BM_RenderPath(benchmark::State& state) {
    const BenchPlatform platform;
    setRenderThreadLimit(1);
    std::vector<std::uint8_t> block(kFilterParametersSize, 0);
    auto* parameters = reinterpret_cast<FilterParameters*>(block.data());
    writeDefaultParameters(*parameters);
    PatternRequest request;
    switch (state.range(0)) {
    case 1: request.tileable = true; break;
    case 2:
        request.evolve = 0.5;
        request.frame = 1;
        break;
    case 3: parameters->texture.blurEnabled = 1; break; // the default amount, 10
    case 4:
        parameters->texture.noiseEnabled = 1;
        parameters->texture.noise = 20;
        break;
    default: break;
    }
    const PatternSpace pattern = patternSpaceOf(request);
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderBlock(block, 2048, pattern).pixels.data());
    }
    state.counters["MP/s"] = benchmark::Counter(2048.0 * 2048.0 / 1e6 * static_cast<double>(state.iterations()),
                                                benchmark::Counter::kIsRate);
    setRenderThreadLimit(0);
}

} // namespace

BENCHMARK(BM_PngLevel)
    ->ArgNames({"level", "threads"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({0, 2})
    ->Args({1, 2})
    ->Args({2, 2})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_PngLibpngDefaults)->Unit(benchmark::kMillisecond)->Iterations(1)->MeasureProcessCPUTime();
BENCHMARK(BM_RenderPath)
    ->ArgName("path")
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
