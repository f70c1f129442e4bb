// Speed of the texture engine: noise2, one texture value per type at 8 and 12
// octaves, and a whole 256 x 256 buffer of texture values.
#include "texture/Perlin.h"
#include "texture/TextureBuilder.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace morvessan;

namespace {

TextureFields fieldsFor(std::int32_t type, double octaves) {
    TextureFields f;
    f.type = type;
    f.noiseLevel = octaves;
    f.transformation.at(0, 0) = 7.0;
    f.transformation.at(1, 1) = 7.0;
    return f;
}

void BM_Noise2(benchmark::State& state) {
    const Perlin p(1, 6.0, 2.0, 0.5);
    double x = 0.1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(p.noise2(x, 0.37 * x));
        x += 0.013;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Noise2);

// Arguments: type, octaves.
void BM_Evaluate(benchmark::State& state) {
    const auto texture =
        makeTexture(fieldsFor(static_cast<std::int32_t>(state.range(0)), static_cast<double>(state.range(1))));
    double x = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(texture->evaluate(x, 1.0 - x));
        x += 1.0 / 4096;
        if (x > 1.0) {
            x = 0.0;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Evaluate)
    ->ArgNames({"type", "octaves"})
    ->Args({kCloud, 8})
    ->Args({kCloud, 12})
    ->Args({kFire, 8})
    ->Args({kFire, 12})
    ->Args({kMarble, 8})
    ->Args({kMarble, 12})
    ->Args({kWood, 8})
    ->Args({kWood, 12});

// A 256 x 256 render buffer of one texture, default 8 octaves (argument: type).
void BM_Buffer256(benchmark::State& state) {
    const auto texture = makeTexture(fieldsFor(static_cast<std::int32_t>(state.range(0)), 8.0));
    std::vector<double> buffer(256 * 256);
    for (auto _ : state) {
        for (int row = 0; row < 256; ++row) {
            const double y = (row + 0.5) / 256;
            for (int column = 0; column < 256; ++column) {
                buffer[row * 256 + column] = texture->evaluate((column + 0.5) / 256, y);
            }
        }
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_Buffer256)
    ->ArgName("type")
    ->Arg(kCloud)
    ->Arg(kFire)
    ->Arg(kMarble)
    ->Arg(kWood)
    ->Unit(benchmark::kMillisecond);

} // namespace
