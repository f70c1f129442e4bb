// One kernel over lanes of doubles for the whole texture value, compiled for
// each instruction set; every lane does the scalar routines' operations in
// their order (no fused multiply-add), so the paths agree bit for bit.

#include "texture/TextureRows.h"

#include "texture/Lanes.h"
#include "texture/PortableTrig.h"
#include "texture/TextureTypes.h"
#include "texture/TrigKernels.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace morvessan {

namespace {

#if defined(MORVESSAN_LANES)

constexpr int kMaxRun = 64;

double fromBits(std::uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Helpers over the lanes; always inlined, so their vectors never cross a call.
#define MORVESSAN_LANE_HELPER         \
    template <typename V, typename I> \
    [[gnu::always_inline]] inline

MORVESSAN_LANE_HELPER V bitsAsDouble(I i) { return reinterpret_cast<V>(i); }
MORVESSAN_LANE_HELPER I doubleAsBits(V v) { return reinterpret_cast<I>(v); }
MORVESSAN_LANE_HELPER V absLanes(V v) { return reinterpret_cast<V>(reinterpret_cast<I>(v) & 0x7FFFFFFFFFFFFFFFll); }
// mask ? a : b, lane by lane (mask lanes are all ones or all zeros).
MORVESSAN_LANE_HELPER V select(I mask, V a, V b) {
    return reinterpret_cast<V>((reinterpret_cast<I>(a) & mask) | (reinterpret_cast<I>(b) & ~mask));
}

// The sign bits of a mask's lanes, one instruction for each width.
template <int W, typename I>
[[gnu::always_inline]] inline int laneBits(I mask) {
    static_assert(W == 2 || W == 4 || W == 8);
    if constexpr (W == 2) {
        return __builtin_ia32_movmskpd(reinterpret_cast<__v2df>(mask));
    } else if constexpr (W == 4) {
        return __builtin_ia32_movmskpd256(reinterpret_cast<__v4df>(mask));
    } else {
        return __builtin_ia32_cvtq2mask512(reinterpret_cast<__v8di>(mask));
    }
}

template <int W, typename I>
[[gnu::always_inline]] inline bool anyLane(I mask) {
    return laneBits<W, I>(mask) != 0;
}

template <int W, typename I>
[[gnu::always_inline]] inline bool allLanes(I mask) {
    return laneBits<W, I>(mask) == (1 << W) - 1;
}

// Whether every lane equals the first; under AVX-512 one comparison into a mask.
template <int W, typename I>
[[gnu::always_inline]] inline bool allLikeFirst(I v) {
    if constexpr (W == 8) {
        const __v8di first = reinterpret_cast<__v8di>(I{} + v[0]);
        return __builtin_ia32_pcmpeqq512_mask(reinterpret_cast<__v8di>(v), first, 0xFF) == 0xFF;
    } else {
        return allLanes<W, I>(v == v[0]);
    }
}

// Square roots in lanes (the instruction, correctly rounded as std::sqrt); an
// instruction of its own width in each routine, without an intrinsic's target.
template <int W>
[[gnu::always_inline]] inline typename Lanes<W>::V sqrtLanes(typename Lanes<W>::V a) {
    if constexpr (W == 2) {
        asm("sqrtpd %0, %0" : "+x"(a));
    } else {
        asm("vsqrtpd %0, %0" : "+v"(a));
    }
    return a;
}

// *p in every lane, loaded once.
template <int W, typename V>
[[gnu::always_inline]] inline V broadcast(const double* p) {
    if constexpr (W == 4) {
        return __builtin_ia32_vbroadcastsd256(p);
    } else if constexpr (W == 8) {
        return __builtin_ia32_broadcastsd512(__v2df{*p, 0.0}, V{}, 0xFF);
    } else {
        return *p - V{}; // s - 0 is s for every s (unlike s + 0 at -0)
    }
}

// Exact floor of lanes below 2^51 in size: the rounding instruction where there
// is one, else round to an integer by adding 1.5 x 2^52 and step down where that
// went up. (They differ only in the sign of a zero, which no result keeps.)
template <int W>
[[gnu::always_inline]] inline typename Lanes<W>::V floorLanes(typename Lanes<W>::V t) {
    using V = typename Lanes<W>::V;
    using I = typename Lanes<W>::I;
    if constexpr (W == 4) {
        return __builtin_ia32_roundpd256(t, 0x09); // toward minus infinity, no exceptions
    } else if constexpr (W == 8) {
        return __builtin_ia32_rndscalepd_mask(t, 0x09, t, static_cast<unsigned char>(-1), 4);
    } else {
        constexpr double kToInteger = 0x1.8p52;
        const V f = (t + kToInteger) - kToInteger;
        return f - bitsAsDouble<V, I>(compare<W, Compare::Greater>(f, t) & doubleAsBits<V, I>(V{} + 1.0));
    }
}

// Whether every lane of scale x (tx, ty) is below 2^51 in size, as the lanes
// below need (scale a power of two, so smaller scales pass too).
template <int W>
[[gnu::always_inline]] inline bool inRange(typename Lanes<W>::V tx, typename Lanes<W>::V ty, double scale) {
    using V = typename Lanes<W>::V;
    using I = typename Lanes<W>::I;
    const V limit = V{} + 0x1p51;
    return allLanes<W, I>(less<W>(absLanes<V, I>(tx) * scale, limit) & less<W>(absLanes<V, I>(ty) * scale, limit));
}

// Perlin's noise2Cell in lanes, for coordinates inRange.
template <int W>
[[gnu::always_inline]] inline typename Lanes<W>::V noiseInLanes(const NoiseRowTables& t, typename Lanes<W>::V tx,
                                                                typename Lanes<W>::V ty) {
    using V = typename Lanes<W>::V;
    using I = typename Lanes<W>::I;
    constexpr double kToInteger = 0x1.8p52; // adding it rounds |t| < 2^51 to an integer
    const V fx = floorLanes<W>(tx);
    const V fy = floorLanes<W>(ty);
    const V rx0 = (tx - fx) + 0.0;
    const V ry0 = (ty - fy) + 0.0;
    const I cell = (doubleAsBits<V, I>(fx + kToInteger) & 255) * 257 + (doubleAsBits<V, I>(fy + kToInteger) & 255);
    V gv[8];
    if (allLikeFirst<W, I>(cell)) {
        // Every lane in one cell, as in the octaves whose cells span many pixels:
        // its four gradients once, in every lane.
        const std::uint8_t* c0 = t.corners + cell[0];
        const std::size_t corner[4] = {c0[0], c0[257], c0[1], c0[258]}; // b00, b10, b01, b11
#pragma GCC unroll 4
        for (int c = 0; c < 4; ++c) {
            gv[2 * c] = broadcast<W, V>(t.gxy + 2 * corner[c]);
            gv[2 * c + 1] = broadcast<W, V>(t.gxy + 2 * corner[c] + 1);
        }
    } else {
        // Each lane's four gradients as (x, y) pairs, one load each; the pairs of the
        // even and of the odd lanes side by side, then unpacked into x and y lanes.
        typedef double P __attribute__((vector_size(16)));
        P pair[4][W];
#pragma GCC unroll 8
        for (int j = 0; j < W; ++j) {
            const std::uint8_t* c0 = t.corners + cell[j];
            std::uint16_t near; // the corners (i, j) and (i, j + 1), little-endian
            std::uint16_t far;  // (i + 1, j) and (i + 1, j + 1)
            std::memcpy(&near, c0, sizeof near);
            std::memcpy(&far, c0 + 257, sizeof far);
            std::memcpy(&pair[0][j], t.gxy + 2 * (near & 255), sizeof(P));
            std::memcpy(&pair[1][j], t.gxy + 2 * (far & 255), sizeof(P));
            std::memcpy(&pair[2][j], t.gxy + 2 * (near >> 8), sizeof(P));
            std::memcpy(&pair[3][j], t.gxy + 2 * (far >> 8), sizeof(P));
        }
#pragma GCC unroll 4
        for (int c = 0; c < 4; ++c) {
            const P* q = pair[c];
            V even;
            V odd;
            if constexpr (W == 2) {
                even = q[0];
                odd = q[1];
            } else if constexpr (W == 4) {
                even = __builtin_shufflevector(q[0], q[2], 0, 1, 2, 3);
                odd = __builtin_shufflevector(q[1], q[3], 0, 1, 2, 3);
            } else {
                even = __builtin_shufflevector(__builtin_shufflevector(q[0], q[2], 0, 1, 2, 3),
                                               __builtin_shufflevector(q[4], q[6], 0, 1, 2, 3), 0, 1, 2, 3, 4, 5, 6, 7);
                odd = __builtin_shufflevector(__builtin_shufflevector(q[1], q[3], 0, 1, 2, 3),
                                              __builtin_shufflevector(q[5], q[7], 0, 1, 2, 3), 0, 1, 2, 3, 4, 5, 6, 7);
            }
            if constexpr (W == 2) {
                gv[2 * c] = __builtin_shufflevector(even, odd, 0, 2);
                gv[2 * c + 1] = __builtin_shufflevector(even, odd, 1, 3);
            } else if constexpr (W == 4) {
                gv[2 * c] = __builtin_shufflevector(even, odd, 0, 4, 2, 6);
                gv[2 * c + 1] = __builtin_shufflevector(even, odd, 1, 5, 3, 7);
            } else {
                gv[2 * c] = __builtin_shufflevector(even, odd, 0, 8, 2, 10, 4, 12, 6, 14);
                gv[2 * c + 1] = __builtin_shufflevector(even, odd, 1, 9, 3, 11, 5, 13, 7, 15);
            }
        }
    }
    return blendCorners(rx0, ry0, gv);
}

// portableSin (or portableCos) in lanes for arguments below 2^20 pi/2 in size;
// `hard` marks the lanes the scalar routine must do (larger arguments, or a
// reduction that cancels and needs more bits of pi/2).
template <int W>
[[gnu::always_inline]] inline typename Lanes<W>::V sineInLanes(typename Lanes<W>::V x, bool cosine,
                                                               typename Lanes<W>::I& hard) {
    using V = typename Lanes<W>::V;
    using I = typename Lanes<W>::I;
    using namespace trig;
    // The scalar routine's tests on the high word of |x|, as comparisons of |x|.
    const V a = absLanes<V, I>(x);
    const I small = less<W>(a, V{} + fromBits(0x3FE921FC00000000ull));
    const I tiny = less<W>(a, V{} + fromBits(cosine ? 0x3E46A09E00000000ull : 0x3E40000000000000ull));
    const I finite = less<W>(a, V{} + fromBits(0x7FF0000000000000ull));
    const I large = compare<W, Compare::GreaterOrEqual>(a, V{} + fromBits(0x413921FB00000000ull));
    const V t = x * kInvPio2 + kToInteger;
    const V fn = t - kToInteger;
    const V r = x - fn * kPio2_1;
    const V w = fn * kPio2_1t;
    const V y0 = r - w;
    // The exponent of y0 more than 16 below that of x: |y0| under 2^-16 times x's power of two.
    const V scale = bitsAsDouble<V, I>(doubleAsBits<V, I>(x) & 0x7FF0000000000000ll) * 0x1p-16;
    const I cancels = less<W>(absLanes<V, I>(y0), scale);
    hard = (large | cancels) & ~small & finite;
    const V y1 = (r - y0) - w;
    const I n = doubleAsBits<V, I>(t) & ~small & 3;
    const V k0 = select<V, I>(small, x, y0);
    const V k1 = select<V, I>(small, V{}, y1);
    // sin: ks, kc, -ks, -kc by quadrant; cos: kc, -ks, -kc, ks. Neighbouring
    // pixels mostly share a quadrant, and then one polynomial serves them all.
    const I odd = -(n & 1);
    const I negative = -((cosine ? n + 1 : n) >> 1 & 1);
    const int oddLanes = laneBits<W, I>(odd);
    V value;
    if (oddLanes == 0) {
        value = cosine ? kernelCos(k0, k1) : kernelSin(k0, k1);
    } else if (oddLanes == (1 << W) - 1) {
        value = cosine ? kernelSin(k0, k1) : kernelCos(k0, k1);
    } else {
        const V ks = kernelSin(k0, k1);
        const V kc = kernelCos(k0, k1);
        value = cosine ? select<V, I>(odd, ks, kc) : select<V, I>(odd, kc, ks);
    }
    value = select<V, I>(negative, -value, value);
    value = select<V, I>(tiny, cosine ? V{} + 1.0 : x, value);
    return select<V, I>(finite, value, x - x);
}

// The formula's last steps for one pixel from the argument of its sine or cosine.
double finishScalar(TextureFormula formula, double argument) {
    double value;
    switch (formula) {
    case TextureFormula::Cloud: value = portableCos(argument); break;
    case TextureFormula::Marble: value = std::sqrt(std::fabs(portableSin(argument))); break;
    case TextureFormula::Wood: value = std::fabs(portableSin(argument)); break;
    default: value = portableSin(argument); break;
    }
    return std::isfinite(value) ? value : 0.0;
}

template <int W>
[[gnu::always_inline]] inline bool textureLanes(const TextureRowJob& job, const double* x, double y, int n, double* out,
                                                bool* done) {
    using V = typename Lanes<W>::V;
    using I = typename Lanes<W>::I;
    const double* m = job.m;
    const double m1y = m[1] * y;
    const double m4y = m[4] * y;
    const double m7y = m[7] * y;
    // Without perspective the divisor is exactly 1 wherever x and y are finite, and
    // lanes with any other coordinates go to the point routine either way (or, with
    // no octaves, come to the same 0), so the division is left out.
    const bool affine = m[6] == 0.0 && m[7] == 0.0 && m[8] == 1.0 && std::isfinite(y);
    const double octaves = static_cast<double>(job.octaves);
    const bool cosine = job.formula == TextureFormula::Cloud;
    const double top = job.octaves > 0 ? static_cast<double>(std::int64_t{1} << (job.octaves - 1)) : 1.0;
    const bool absolute = job.formula == TextureFormula::Fire || job.formula == TextureFormula::Marble;
    bool every = true;
    const int groups = (n < kMaxRun ? n : kMaxRun) / W;
    double argument[kMaxRun];
    std::int64_t hardLanes[kMaxRun];
    bool anyHard = false;
    for (int group = 0; group < groups; ++group) {
        const int k = group * W;
        V xv;
        std::memcpy(&xv, x + k, sizeof xv);
        V u = m[0] * xv + m1y + m[2];
        V v = m[3] * xv + m4y + m[5];
        if (!affine) {
            const V w = 1.0 / (m[6] * xv + m7y + m[8]);
            u = u * w;
            v = v * w;
        }
        V arg = V{};
        bool whole = true;
        if (job.formula == TextureFormula::Wood) {
            whole = inRange<W>(u, v, 1.0);
            if (whole) {
                arg = u + job.noiseParameter * noiseInLanes<W>(job.tables, u, v);
            }
        } else {
            V sum = V{};
            whole = job.octaves == 0 || inRange<W>(u, v, top);
            double frequency = 1.0;
            for (int i = 0; whole && i < job.octaves; ++i) {
                const V term = job.weights[i] * noiseInLanes<W>(job.tables, frequency * u, frequency * v);
                sum = sum + (absolute ? absLanes<V, I>(term) : term);
                frequency *= 2.0;
            }
            if (cosine) {
                const V du = u - kCloudCentre;
                const V dv = v - kCloudCentre;
                arg = sqrtLanes<W>(du * du + dv * dv) + octaves * sum;
            } else {
                arg = u + octaves * sum;
            }
        }
        if (!whole) {
            std::memset(done + k, 0, W);
            every = false;
            continue;
        }
        I hard;
        V value = sineInLanes<W>(arg, cosine, hard);
        if (job.formula == TextureFormula::Marble) {
            value = sqrtLanes<W>(absLanes<V, I>(value));
        } else if (job.formula == TextureFormula::Wood) {
            value = absLanes<V, I>(value);
        }
        value = select<V, I>(less<W>(absLanes<V, I>(value), V{} + fromBits(0x7FF0000000000000ull)), value, V{});
        std::memcpy(out + k, &value, sizeof value);
        std::memset(done + k, 1, W);
        if (anyLane<W, I>(hard)) {
            std::memcpy(argument + k, &arg, sizeof arg);
            std::memcpy(hardLanes + k, &hard, sizeof hard);
            anyHard = true;
        } else {
            std::memset(hardLanes + k, 0, sizeof hard);
        }
    }
    if (anyHard) {
        // The sine or cosine the lanes left, by the point routine, and the formula's end.
        for (int k = 0; k < groups * W; ++k) {
            if (hardLanes[k] != 0 && done[k]) {
                out[k] = finishScalar(job.formula, argument[k]);
            }
        }
    }
    for (int k = groups * W; k < n; ++k) {
        done[k] = false;
    }
    return every && groups * W == n;
}

bool textureBaseline(const TextureRowJob& job, const double* x, double y, int n, double* out, bool* done) {
    return textureLanes<2>(job, x, y, n, out, done);
}

[[gnu::target("avx2")]] bool textureAvx2(const TextureRowJob& job, const double* x, double y, int n, double* out,
                                         bool* done) {
    return textureLanes<4>(job, x, y, n, out, done);
}

// Eight lanes. The corners' gradients are loaded a pair at a time and
// shuffled into place: the gather instructions were over twice as slow here.
[[gnu::target("avx512f,avx512dq,avx512vl")]] bool textureAvx512(const TextureRowJob& job, const double* x, double y,
                                                                int n, double* out, bool* done) {
    return textureLanes<8>(job, x, y, n, out, done);
}

#endif

} // namespace

TextureRowRoutine textureRowRoutine() {
#if defined(MORVESSAN_LANES)
    return routineOfPath<TextureRowRoutine>(&textureBaseline, &textureAvx2, &textureAvx512);
#else
    return nullptr;
#endif
}

} // namespace morvessan
