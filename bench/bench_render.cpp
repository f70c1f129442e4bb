// A whole host render through PluginMain: 2048 x 2048 RGB, the default preset
// (Cloud, 8 octaves), non-interactive; reports megapixels per second.
#include "VXLib/VXUTIL/VXPortablePlatform.h"
#include "host/FilterHost.h"

#include <benchmark/benchmark.h>

using namespace morvessan;

static void BM_HostRender2048(benchmark::State& state) {
    auto platform = std::make_unique<VXPortablePlatform>();
    platform->setModulePath("/nonexistent-morvessan-bench/XMorvessan.8bf");
    platform->setSettingsFile("");
    auto previous = vxSetPlatform(std::move(platform));
    const std::int32_t side = static_cast<std::int32_t>(state.range(0));
    const HostImage image(side, side, 3, 128);
    for (auto _ : state) {
        state.PauseTiming();
        FilterHost host;
        host.setImage(image);
        host.setPlayInfo(plugInDialogSilent);
        state.ResumeTiming();
        const int16 result = host.run();
        if (result != noErr) {
            state.SkipWithError("the render failed");
            break;
        }
        benchmark::DoNotOptimize(host.image().pixels.data());
    }
    const double pixels = static_cast<double>(side) * side;
    state.counters["MP/s"] =
        benchmark::Counter(pixels / 1e6 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    vxSetPlatform(std::move(previous));
}
BENCHMARK(BM_HostRender2048)->Arg(2048)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
