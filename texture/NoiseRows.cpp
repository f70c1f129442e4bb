// One kernel written over lanes of doubles, compiled for each instruction set;
// every lane does the point routine's operations in the same order (no fused
// multiply-add is ever enabled), so the widths agree bit for bit.
#include "texture/NoiseRows.h"

#include "texture/Lanes.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace morvessan {

namespace {

#if defined(MORVESSAN_LANES)

// The wide paths run on Windows too: mingw-w64's GCC does not align the stack
// for 32- and 64-byte spill slots (GCC bug 54412), so that build assembles every
// aligned vector move as an unaligned one (-muse-unaligned-vector-move).

// Three passes over at most kMaxRun points: lattice cells and offsets in lanes,
// the corner lookups one point at a time into plain arrays, then the
// interpolation in lanes again, so no lane is ever moved in or out of a register.
constexpr int kMaxRun = 64;

template <int W>
[[gnu::always_inline]] inline bool noiseLanes(const NoiseRowTables& t, const double* x, const double* y, int n,
                                              double* out, bool* done) {
    using V = typename Lanes<W>::V;
    using I = typename Lanes<W>::I;
    constexpr double kToInteger = 0x1.8p52; // adding it rounds |t| < 2^51 to an integer
    const V toInteger = V{} + kToInteger;
    const V limit = V{} + 0x1p51;
    const V one = V{} + 1.0;
    const V zero = V{};
    const I magnitude = I{} + 0x7FFFFFFFFFFFFFFFll;
    double rx[kMaxRun];
    double ry[kMaxRun];
    std::int64_t cell[kMaxRun];
    bool whole[kMaxRun / W];
    bool every = true;
    const int groups = (n < kMaxRun ? n : kMaxRun) / W;
    for (int group = 0; group < groups; ++group) {
        const int k = group * W;
        V tx;
        V ty;
        std::memcpy(&tx, x + k, sizeof tx);
        std::memcpy(&ty, y + k, sizeof ty);
        const I inside = less<W>(reinterpret_cast<V>(reinterpret_cast<I>(tx) & magnitude), limit) &
                         less<W>(reinterpret_cast<V>(reinterpret_cast<I>(ty) & magnitude), limit);
        std::int64_t all = -1;
#pragma GCC unroll 8
        for (int j = 0; j < W; ++j) {
            all &= inside[j];
        }
        whole[group] = all != 0;
        every = every && all != 0;
        if (!all) {
            std::memset(cell + k, 0, sizeof(std::int64_t) * W); // a harmless lookup; the result is not used
            continue;
        }
        // Exact floor: round to an integer, step down where that went up.
        V fx = (tx + toInteger) - toInteger;
        V fy = (ty + toInteger) - toInteger;
        fx = fx - reinterpret_cast<V>(compare<W, Compare::Greater>(fx, tx) & reinterpret_cast<I>(one));
        fy = fy - reinterpret_cast<V>(compare<W, Compare::Greater>(fy, ty) & reinterpret_cast<I>(one));
        const V rx0 = (tx - fx) + zero;
        const V ry0 = (ty - fy) + zero;
        const I c = (reinterpret_cast<I>(fx + toInteger) & 255) * 257 + (reinterpret_cast<I>(fy + toInteger) & 255);
        std::memcpy(rx + k, &rx0, sizeof rx0);
        std::memcpy(ry + k, &ry0, sizeof ry0);
        std::memcpy(cell + k, &c, sizeof c);
    }
    const int points = groups * W;
    double g[8][kMaxRun];
    for (int k = 0; k < points; ++k) {
        const std::uint8_t* c0 = t.corners + cell[k];
        const int b00 = c0[0];
        const int b01 = c0[1];
        const int b10 = c0[257];
        const int b11 = c0[258];
        g[0][k] = t.gx[b00];
        g[1][k] = t.gy[b00];
        g[2][k] = t.gx[b10];
        g[3][k] = t.gy[b10];
        g[4][k] = t.gx[b01];
        g[5][k] = t.gy[b01];
        g[6][k] = t.gx[b11];
        g[7][k] = t.gy[b11];
    }
    for (int group = 0; group < groups; ++group) {
        const int k = group * W;
        if (!whole[group]) {
            std::memset(done + k, 0, W);
            continue;
        }
        V rx0;
        V ry0;
        V gv[8];
        std::memcpy(&rx0, rx + k, sizeof rx0);
        std::memcpy(&ry0, ry + k, sizeof ry0);
#pragma GCC unroll 8
        for (int i = 0; i < 8; ++i) {
            std::memcpy(&gv[i], g[i] + k, sizeof gv[i]);
        }
        const V result = blendCorners(rx0, ry0, gv);
        std::memcpy(out + k, &result, sizeof result);
        std::memset(done + k, 1, W);
    }
    for (int k = points; k < n; ++k) {
        done[k] = false;
    }
    return every && points == n;
}

bool noiseBaseline(const NoiseRowTables& t, const double* x, const double* y, int n, double* out, bool* done) {
    return noiseLanes<2>(t, x, y, n, out, done);
}

[[gnu::target("avx2")]] bool noiseAvx2(const NoiseRowTables& t, const double* x, const double* y, int n, double* out,
                                       bool* done) {
    return noiseLanes<4>(t, x, y, n, out, done);
}

[[gnu::target("avx512f,avx512dq,avx512vl")]] bool noiseAvx512(const NoiseRowTables& t, const double* x, const double* y,
                                                              int n, double* out, bool* done) {
    return noiseLanes<8>(t, x, y, n, out, done);
}

#endif

} // namespace

NoiseRowRoutine noiseRowRoutine() {
#if defined(MORVESSAN_LANES)
    return routineOfPath<NoiseRowRoutine>(&noiseBaseline, &noiseAvx2, &noiseAvx512);
#else
    return nullptr;
#endif
}

} // namespace morvessan
