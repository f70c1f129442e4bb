// The row routines against the point routines, double for double; our sine and
// cosine at known values; one thread and many giving the same bytes.
#include "VXLib/VXImage2.h"
#include "renderer/ColourRows.h"
#include "renderer/RenderThreads.h"
#include "renderer/TextureRenderer.h"
#include "texture/LanePath.h"
#include "texture/NoiseRows.h"
#include "texture/Perlin.h"
#include "texture/PortableTrig.h"
#include "texture/TextureBuilder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <stdexcept>

using namespace morvessan;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Coordinates of every kind: ordinary, negative, lattice points, signed zeros,
// beyond 2^52 and 2^62, and not numbers.
double anyCoordinate(std::mt19937_64& g) {
    static const double special[] = {0.0,    -0.0,    1.0,    -1.0,   255.0,   256.0,        -256.0,
                                     0x1p52, -0x1p52, 0x1p53, 0x1p62, -0x1p62, 1e300,        -1e300,
                                     kInf,   -kInf,   kNaN,   0.5,    -0.5,    0x1p52 - 0.5, -4503599627370495.5,
                                     1e-310};
    const std::uint64_t r = g();
    switch (r % 4) {
    case 0: return special[(r >> 8) % (sizeof special / sizeof special[0])];
    case 1: return std::ldexp(static_cast<double>(g() >> 11) * 0x1p-53 - 0.5, static_cast<int>((r >> 8) % 140) - 40);
    default: return (static_cast<double>(g() >> 11) * 0x1p-53 - 0.5) * 2000.0;
    }
}

// Each case runs on the next path in turn (the processor permitting); the
// test ends back on the widest.
LanePath forcePath(int i) {
    constexpr LanePath paths[] = {LanePath::Scalar, LanePath::Baseline, LanePath::Avx2, LanePath::Avx512};
    return setLanePath(paths[i % 4]);
}

struct WidestPathAfterwards : ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { setLanePath(LanePath::Avx512); }
};

const bool g_restoring = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new WidestPathAfterwards);
    return true;
}();

} // namespace

TEST(FastPaths, NoiseRowsMatchPointNoiseBitForBitOnEveryPath) {
    std::mt19937_64 g(5);
    for (int seed : {1, 2, 77, 32767}) {
        SCOPED_TRACE(static_cast<int>(forcePath(seed)));
        const Perlin perlin(seed, 6.0, 2.0, 0.5);
        std::vector<double> x(4000);
        std::vector<double> y(4000);
        for (std::size_t k = 0; k < x.size(); ++k) {
            // Mostly ordinary points, so that whole groups of lanes take them.
            const double ordinary =
                std::ldexp(static_cast<double>(g() >> 11) * 0x1p-53 - 0.5, static_cast<int>(k % 60));
            x[k] = k % 11 == 0 ? anyCoordinate(g) : ordinary;
            y[k] = k % 13 == 0 ? anyCoordinate(g) : (static_cast<double>(g() >> 11) * 0x1p-53 - 0.5) * 600.0;
        }
        std::vector<double> row(x.size());
        perlin.noise2Row(x.data(), y.data(), static_cast<int>(x.size()), row.data());
        for (std::size_t k = 0; k < x.size(); ++k) {
            ASSERT_TRUE(sameBits(row[k], perlin.noise2(x[k], y[k]))) << x[k] << ", " << y[k];
        }
    }
}

TEST(FastPaths, TextureRowsMatchPointValuesForEveryTypeAndTransformation) {
    std::mt19937_64 g(9);
    const auto unit = [&] { return static_cast<double>(g() >> 11) * 0x1p-53; };
    for (int i = 0; i < 120; ++i) {
        SCOPED_TRACE(static_cast<int>(forcePath(i)));
        TextureFields f;
        f.type = 1 + i % 4;
        f.noiseLevel = i % 13;
        f.noiseSeed = 1 + i;
        for (double& w : f.noiseWeights) {
            w = unit() * 2.0 - 0.5;
        }
        f.noiseParameter = unit() * 50.0;
        double* m = f.transformation.m;
        for (int k = 0; k < 9; ++k) {
            m[k] = (unit() - 0.5) * 40.0;
        }
        switch (i % 6) {
        case 0: // affine
            m[6] = m[7] = 0.0;
            m[8] = 1.0;
            break;
        case 1: // singular
            m[3] = m[4] = m[6] = m[7] = m[8] = 0.0;
            break;
        case 2: // huge
            m[0] *= 1e15;
            m[4] *= 1e200;
            break;
        case 3: // beyond any number
            m[i % 9] = i % 2 ? kNaN : -kInf;
            break;
        default: break;
        }
        const auto texture = makeTexture(f);
        std::vector<double> x(150);
        double at = (unit() - 0.5) * 4.0;
        for (double& v : x) {
            v = at;
            at += 1.0 / 97.0;
        }
        x[7] = kNaN;
        x[8] = -kInf;
        x[9] = -0.0;
        for (double y : {unit(), -unit() * 1e6, 0.0, kNaN}) {
            std::vector<double> row(x.size());
            texture->evaluateRow(x.data(), y, static_cast<int>(x.size()), row.data());
            for (std::size_t k = 0; k < x.size(); ++k) {
                ASSERT_TRUE(sameBits(row[k], texture->evaluate(x[k], y))) << "block " << i << " at " << k;
            }
        }
    }
}

TEST(FastPaths, TextureRowsMatchPointValuesForEveryKindOfSineArgument) {
    // No octaves and no transformation: Fire gives sin(x), Cloud cos(|x - 200|) on
    // the row y = 200, so x runs through every branch of the sine and cosine in lanes.
    std::mt19937_64 g(12);
    std::vector<double> x;
    for (int k = -4000; k <= 4000; ++k) {
        const double near = k * 0x1.921fb54442d18p+0 + (k % 2 ? 200.0 : 0.0); // multiples of pi/2, also about 200
        x.insert(x.end(), {near, std::nextafter(near, kInf), std::nextafter(near, -kInf)});
    }
    for (int k = 0; k < 3000; ++k) {
        x.push_back(std::ldexp(static_cast<double>(g() >> 11) * 0x1p-53 - 0.5, k % 70 - 40));
    }
    x.insert(x.end(), {0x1.921fb54442d18p+20, 0x1.921fb50000000p+20, 1e22, -0.0, 1e-300, kInf, -kInf, kNaN, 0x1p-27});
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(static_cast<int>(forcePath(i)));
        TextureFields f;
        f.type = 1 + i % 4;
        f.noiseLevel = 0.0;
        const auto texture = makeTexture(f);
        std::vector<double> row(x.size());
        texture->evaluateRow(x.data(), 200.0, static_cast<int>(x.size()), row.data());
        for (std::size_t k = 0; k < x.size(); ++k) {
            ASSERT_TRUE(sameBits(row[k], texture->evaluate(x[k], 200.0))) << "type " << f.type << " at " << x[k];
        }
    }
}

TEST(FastPaths, ColourRowsMatchTheBlendOfEveryEntryOnEveryPath) {
    // Values at and beside every table boundary, beyond -1..1 and not numbers;
    // entries of every alpha; rows blended into others and into themselves.
    std::mt19937_64 g(21);
    std::vector<double> values;
    for (int k = 0; k <= kColourTableSize; ++k) {
        const double edge = k / kColourIndexScale - 1.0;
        values.insert(values.end(), {edge, std::nextafter(edge, kInf), std::nextafter(edge, -kInf)});
    }
    values.insert(values.end(), {-1.0, 1.0, 1.0009, -1e300, 1e300, kInf, -kInf, kNaN, -kNaN, -0.0, 0x1p60, -0x1p60});
    while (values.size() % 96 != 37) { // not a whole number of runs
        values.push_back((static_cast<double>(g() >> 11) * 0x1p-53 - 0.5) * 2.2);
    }
    std::shuffle(values.begin(), values.end(), g);
    std::vector<ColourEntry> table(kColourTableSize);
    for (int k = 0; k < kColourTableSize; ++k) {
        const std::uint64_t r = g();
        const std::uint8_t alphas[] = {0, 255, static_cast<std::uint8_t>(r >> 32), 1, 254};
        table[k] = {
            {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(r >> 8), static_cast<std::uint8_t>(r >> 16)},
            alphas[(r >> 40) % 5]};
    }
    const std::int32_t n = static_cast<std::int32_t>(values.size());
    std::vector<std::uint8_t> source(3 * values.size());
    for (auto& byte : source) {
        byte = static_cast<std::uint8_t>(g());
    }
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(static_cast<int>(forcePath(i)));
        const ColourRowRoutine routine = colourRowRoutine();
        if (!routine) {
            continue;
        }
        const bool overwrite = i >= 4;
        std::vector<std::uint8_t> apart(source.size(), 0xAB);
        std::vector<std::uint8_t> inPlace = source;
        const std::int32_t done = routine(values.data(), table.data(), source.data(), apart.data(), n, overwrite);
        ASSERT_EQ(routine(values.data(), table.data(), inPlace.data(), inPlace.data(), n, overwrite), done);
        EXPECT_EQ(done, n - n % 32);
        for (std::int32_t k = 0; k < done; ++k) {
            const ColourEntry& c = table[lookupIndex(values[k])];
            for (int b = 0; b < 3; ++b) {
                const unsigned s = source[3 * k + b];
                const unsigned expected =
                    overwrite ? c.channel[b] : ((s * (255u - c.alpha) + c.channel[b] * c.alpha) * 0x8081u) >> 23;
                ASSERT_EQ(apart[3 * k + b], expected) << "pixel " << k << " value " << values[k];
                ASSERT_EQ(inPlace[3 * k + b], expected) << "pixel " << k;
            }
        }
        for (std::size_t k = 3 * done; k < apart.size(); ++k) {
            ASSERT_EQ(apart[k], 0xAB) << "beyond the pixels done, at byte " << k;
        }
    }
}

TEST(FastPaths, OwnSineAndCosineAtKnownValues) {
    // Correctly rounded values of the true functions, met to within one unit in the last place.
    const auto ulpsApart = [](double a, double b) { return std::fabs(a - b) / (std::nextafter(b, kInf) - b); };
    EXPECT_LE(ulpsApart(portableSin(1e22), -0.8522008497671888), 1.0);
    EXPECT_LE(ulpsApart(portableCos(1e22), 0.523214785395139), 1.0);
    EXPECT_LE(ulpsApart(portableSin(0x1.921fb54442d18p+1), 1.2246467991473532e-16), 1.0); // the double nearest pi
    EXPECT_LE(ulpsApart(portableCos(0x1.921fb54442d18p+0), 6.123233995736766e-17), 1.0);
    EXPECT_LE(ulpsApart(portableSin(1.0), 0.8414709848078965), 1.0);
    EXPECT_LE(ulpsApart(portableCos(1.0), 0.5403023058681398), 1.0);
    EXPECT_LE(ulpsApart(portableSin(0x1p1023), 0.563127779850884), 1.0);
    EXPECT_LE(ulpsApart(portableCos(-1e300), -0.5753861119575491), 1.0);
    EXPECT_LE(ulpsApart(portableSin(0x1.0b9474bc7522p+901), 0.7256345543287296), 1.0);
    EXPECT_TRUE(sameBits(portableSin(-0.0), -0.0));
    EXPECT_EQ(portableCos(-0.0), 1.0);
    EXPECT_EQ(portableSin(1e-300), 1e-300);
    EXPECT_TRUE(std::isnan(portableSin(kInf)));
    EXPECT_TRUE(std::isnan(portableCos(-kInf)));
    EXPECT_TRUE(std::isnan(portableCos(kNaN)));
    std::mt19937_64 g(3);
    for (int i = 0; i < 20000; ++i) {
        const double x = std::ldexp(1.0 + static_cast<double>(g() >> 11) * 0x1p-53, i % 1080 - 60);
        ASSERT_TRUE(sameBits(portableSin(-x), -portableSin(x))) << x;
        ASSERT_TRUE(sameBits(portableCos(-x), portableCos(x))) << x;
        const double s = portableSin(x);
        const double c = portableCos(x);
        ASSERT_NEAR(s * s + c * c, 1.0, 4e-16) << x;
    }
}

TEST(FastPaths, OneThreadAndManyGiveTheSameBytes) {
    TextureFields f;
    f.type = kMarble;
    f.noiseLevel = 12.0;
    f.blurEnabled = 1;
    f.blur = 30;
    f.noiseEnabled = 1;
    f.noise = 40;
    f.textureEnabled = 1;
    f.colours[0] = 0x80204060u;
    const auto texture = makeTexture(f);
    const std::vector<ColourEntry> table = buildColourTable(f, ColourOrder::Host);
    VXImage2 picture;
    ASSERT_TRUE(picture.create(37, 23, 8));
    for (std::int32_t y = 0; y < 23; ++y) {
        for (std::int32_t x = 0; x < 37; ++x) {
            picture.row(y)[x] = static_cast<std::uint8_t>(x * 7 + y * 13);
        }
    }
    const std::int32_t w = 203;
    const std::int32_t h = 171;
    std::vector<std::uint8_t> source(static_cast<std::size_t>(w) * h * 4);
    for (std::size_t k = 0; k < source.size(); ++k) {
        source[k] = static_cast<std::uint8_t>(k * 31 / 7);
    }
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(w) * h);
    for (std::size_t k = 0; k < mask.size(); ++k) {
        mask[k] = static_cast<std::uint8_t>(k % 251);
    }
    const auto render = [&](int threads) {
        setRenderThreadLimit(threads);
        MersenneTwister random;
        random.Seed(1);
        TextureRenderSettings settings;
        settings.texture = texture.get();
        settings.colourTable = table.data();
        settings.textureImage = &picture;
        settings.random = &random;
        settings.fields = &f;
        settings.filterRect = {-40, -30, 400, 300};
        std::vector<std::uint8_t> out = source;
        const PixelBlock block{out.data(), w, h, 4, w * 4, kLayoutRGBA};
        const PixelBlock maskBlock{mask.data(), w, h, 1, w, kLayoutMask};
        renderTextureTile(settings, block, block, maskBlock, {10, 20, 10 + w, 20 + h});
        setRenderThreadLimit(0);
        return out;
    };
    const std::vector<std::uint8_t> one = render(1);
    EXPECT_NE(one, source);
    for (int threads : {2, 3, 8}) {
        EXPECT_EQ(render(threads), one) << threads << " threads";
    }
}

TEST(FastPaths, ThreadPoolLivesForItsSessionAndPassesOnExceptions) {
    std::vector<int> hits(1000, 0);
    const auto mark = [&](std::int32_t first, std::int32_t last) {
        for (std::int32_t k = first; k < last; ++k) {
            ++hits[k];
        }
    };
    {
        const RenderThreadSession session;
        setRenderThreadLimit(3);
        forEachPart(1000, mark);
        forEachPart(1000, [&](std::int32_t first, std::int32_t last) { // a call from a part runs on its thread
            forEachPart(last - first, [&](std::int32_t a, std::int32_t b) { mark(first + a, first + b); });
        });
        EXPECT_GE(renderPoolThreads(), 2);
        // Each part knows its thread by an index below the thread count; the caller's is 0.
        std::vector<std::atomic<int>> workers(64);
        forEachPart(64, [&](std::int32_t first, std::int32_t) { workers[first].store(renderWorkerIndex()); });
        for (const std::atomic<int>& worker : workers) {
            EXPECT_GE(worker.load(), 0);
            EXPECT_LT(worker.load(), 3);
        }
        EXPECT_EQ(renderWorkerIndex(), 0);
        EXPECT_THROW(forEachPart(1000,
                                 [](std::int32_t first, std::int32_t) {
                                     if (first > 500) {
                                         throw std::runtime_error("part");
                                     }
                                 }),
                     std::runtime_error);
        setRenderThreadLimit(0);
    }
    EXPECT_EQ(renderPoolThreads(), 0);
    EXPECT_EQ(std::count(hits.begin(), hits.end(), 2), 1000);
}

// Jobs of a few parts back to back: a helper still leaving one job may find the
// next already posted, and must see that job whole and take each part once.
TEST(FastPaths, ShortJobsBackToBackEachRunEveryPartOnce) {
    const RenderThreadSession session;
    setRenderThreadLimit(3);
    std::vector<std::atomic<int>> hits(8);
    int wrong = 0;
    for (int job = 0; job < 3000; ++job) {
        const std::int32_t count = 2 + job % 7;
        for (std::int32_t k = 0; k < count; ++k) {
            hits[k].store(0, std::memory_order_relaxed);
        }
        forEachPart(count, [&](std::int32_t first, std::int32_t last) {
            for (std::int32_t k = first; k < last; ++k) {
                hits[k].fetch_add(1, std::memory_order_relaxed);
            }
        });
        for (std::int32_t k = 0; k < count; ++k) {
            wrong += hits[k].load(std::memory_order_relaxed) != 1 ? 1 : 0;
        }
    }
    setRenderThreadLimit(0);
    EXPECT_EQ(wrong, 0);
}
