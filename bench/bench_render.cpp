// A whole host render through PluginMain: 2048 x 2048 RGB, non-interactive, with
// the default preset (Cloud, 8 octaves) or a 12-octave Marble, on one thread or
// all; megapixels per second and the ratio to the libnoise peer.
#include "PeerNoise.h"

#include "VXLib/VXUTIL/VXPortablePlatform.h"
#include "host/FilterHost.h"
#include "renderer/RenderThreads.h"
#include "texture/FilterParameters.h"

#include <benchmark/benchmark.h>

#include <chrono>

using namespace morvessan;

namespace {

// Arguments: image side, texture (0: default Cloud, 1: Marble at 12 octaves), threads (0: all).
void BM_HostRender(benchmark::State& state) {
    auto platform = std::make_unique<VXPortablePlatform>();
    platform->setModulePath("/nonexistent-morvessan-bench/XMorvessan.8bf");
    platform->setSettingsFile("");
    auto previous = vxSetPlatform(std::move(platform));
    const std::int32_t side = static_cast<std::int32_t>(state.range(0));
    setRenderThreadLimit(static_cast<int>(state.range(2)));
    const int threads = renderThreadCount();
    std::vector<std::uint8_t> block(kFilterParametersSize, 0);
    auto* parameters = reinterpret_cast<FilterParameters*>(block.data());
    writeDefaultParameters(*parameters);
    if (state.range(1) == 1) {
        parameters->texture.type = kMarble;
        parameters->texture.noiseLevel = 12.0;
    }
    const HostImage image(side, side, 3, 128);
    bench::peerSecondsPerPoint(threads); // measured before, not during, the timed runs
    double seconds = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        FilterHost host;
        host.setRowPadding(0); // as the command line serves rows
        host.setImage(image);
        host.setParameterBytes(block);
        host.setPlayInfo(plugInDialogSilent);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const int16 result = host.run();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (result != noErr) {
            state.SkipWithError("the render failed");
            break;
        }
        benchmark::DoNotOptimize(host.image().pixels.data());
    }
    const double pixels = static_cast<double>(side) * side;
    state.counters["MP/s"] =
        benchmark::Counter(pixels / 1e6 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["threads"] = threads;
    bench::reportAgainstPeer(state, threads, seconds / (pixels * static_cast<double>(state.iterations())));
    setRenderThreadLimit(0);
    vxSetPlatform(std::move(previous));
}

// The peer figure the ratios divide by, measured here so it shows in every run.
void BM_PeerLibnoise(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0)) > 0 ? static_cast<int>(state.range(0)) : renderThreadCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench::peerSecondsPerPoint(threads));
    }
    const double perPoint = bench::peerSecondsPerPoint(threads);
    if (perPoint > 0.0) {
        state.counters["MP/s"] = 1e-6 / perPoint;
    }
    state.counters["threads"] = threads;
}

} // namespace

BENCHMARK(BM_PeerLibnoise)->ArgName("threads")->Arg(1)->Arg(0)->Iterations(1);
BENCHMARK(BM_HostRender)
    ->ArgNames({"side", "marble12", "threads"})
    ->Args({2048, 0, 1})
    ->Args({2048, 0, 0})
    ->Args({2048, 1, 1})
    ->Args({2048, 1, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
