// The libnoise peer run: each thread sums the octaves over its share of rows.
#include "PeerNoise.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <thread>
#include <vector>

#if defined(MORVESSAN_HAVE_LIBNOISE)
#include <libnoise/noise.h>
#endif

namespace morvessan::bench {

double peerSecondsPerPoint(int threads) {
#if defined(MORVESSAN_HAVE_LIBNOISE)
    static std::map<int, double> measured;
    if (const auto it = measured.find(threads); it != measured.end()) {
        return it->second;
    }
    constexpr int kSide = 2048;
    const auto rows = [](int first, int last) {
        noise::module::Perlin perlin;
        perlin.SetOctaveCount(8);
        perlin.SetNoiseQuality(noise::QUALITY_STD);
        double sum = 0.0;
        for (int y = first; y < last; ++y) {
            for (int x = 0; x < kSide; ++x) {
                sum += perlin.GetValue(x * (7.0 / kSide), y * (7.0 / kSide), 0.5);
            }
        }
        benchmark::DoNotOptimize(sum);
    };
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        helpers.emplace_back(rows, kSide * t / threads, kSide * (t + 1) / threads);
    }
    rows(0, kSide / threads);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double perPoint = elapsed.count() / (static_cast<double>(kSide) * kSide);
    measured[threads] = perPoint;
    return perPoint;
#else
    (void)threads;
    return 0.0;
#endif
}

} // namespace morvessan::bench
