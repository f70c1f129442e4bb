// One preview re-render through the main dialog model's refreshPreview, as every
// edit in the dialog does: a 400 x 400 preview, the default preset and one of 12
// octaves, on one thread or all, with the ratio to the libnoise peer.
#include "PeerNoise.h"

#include "VXLib/VXUTIL/VXPortablePlatform.h"
#include "dialog/PSMorvessanEditingSession.h"
#include "dialog/PSMorvessanPluginDialogModel.h"
#include "host/FilterHost.h"
#include "plugin/PSMorvessanModuleSettings.h"
#include "renderer/RenderThreads.h"
#include "texture/FilterParameters.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

using namespace morvessan;

namespace {

class BenchDialog : public PSMorvessanDialogRunner {
public:
    explicit BenchDialog(std::function<void(PSMorvessanEditingSession&)> body) : m_body(std::move(body)) {}
    bool RunDialog(PSMorvessanEditingSession& session) override {
        m_body(session);
        return false;
    }

private:
    std::function<void(PSMorvessanEditingSession&)> m_body;
};

void BM_MainPreviewRefresh(benchmark::State& state) {
    auto platform = std::make_unique<VXPortablePlatform>();
    platform->setModulePath("/nonexistent-morvessan-bench/XMorvessan.8bf");
    platform->setSettingsFile("");
    auto previous = vxSetPlatform(std::move(platform));
    const int octaves = static_cast<int>(state.range(0));
    setRenderThreadLimit(static_cast<int>(state.range(1)));
    const int threads = renderThreadCount();
    bench::peerSecondsPerPoint(threads);
    double seconds = 0.0;
    setModuleDialogRunner(std::make_unique<BenchDialog>([&](PSMorvessanEditingSession& session) {
        session.GetParameters()->texture.noiseLevel = octaves;
        PSMorvessanPluginDialogModel dialog(session);
        dialog.beginOpening();
        dialog.previewReady(400, 400);
        dialog.endOpening();
        for (auto _ : state) {
            const auto start = std::chrono::steady_clock::now();
            dialog.refreshPreview();
            seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            benchmark::DoNotOptimize(session.GetPreview().GetOutputImage());
        }
    }));
    FilterHost host;
    // A 1200 x 1200 image fits a 400 x 400 preview at 1:3, so the proxy is 400 x 400.
    host.setImage(HostImage(1200, 1200, 3, 128));
    host.setPlayInfo(std::nullopt);
    host.run();
    setModuleDialogRunner(nullptr);
    state.counters["MP/s"] =
        benchmark::Counter(0.16 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["threads"] = threads;
    bench::reportAgainstPeer(state, threads, seconds / (160000.0 * static_cast<double>(state.iterations())));
    setRenderThreadLimit(0);
    vxSetPlatform(std::move(previous));
}

} // namespace

BENCHMARK(BM_MainPreviewRefresh)
    ->ArgNames({"octaves", "threads"})
    ->Args({8, 1})
    ->Args({8, 0})
    ->Args({12, 1})
    ->Args({12, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
