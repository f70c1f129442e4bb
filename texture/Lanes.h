// The vector lanes the row routines are written over, and the choice among a
// routine's builds for each instruction set; shared by the noise and texture rows.
#pragma once

// The helpers pass wide vectors by value but are always inlined into the
// routine of their width, so the calling convention they warn about never applies.
#pragma GCC diagnostic ignored "-Wpsabi"

#include "texture/LanePath.h"
#include "texture/NoiseRows.h"

#include <cstdint>

// GCC's builds only: Clang (the fuzzing build) refuses the instruction builtins in
// helpers that carry no target of their own, so it renders by the point routines.
#if defined(__GNUC__) && !defined(__clang__) && (defined(__x86_64__) || defined(_M_X64))
#define MORVESSAN_LANES 1
#include <immintrin.h> // the vector types of the instruction builtins
#endif

namespace morvessan {

#if defined(MORVESSAN_LANES)
template <int W>
struct Lanes {
    typedef double V __attribute__((vector_size(W * 8)));
    typedef std::int64_t I __attribute__((vector_size(W * 8)));
};

// Comparisons of lanes into masks (all ones where true, false for not a number).
// Eight lanes compare through the instruction's mask register: GCC would
// otherwise compare them one by one.
enum class Compare { Less = 0x11, GreaterOrEqual = 0x1D, Greater = 0x1E }; // the ordered, quiet predicates

template <int W, Compare C>
[[gnu::always_inline]] inline typename Lanes<W>::I compare(typename Lanes<W>::V a, typename Lanes<W>::V b) {
    using I = typename Lanes<W>::I;
    if constexpr (W == 8) {
        return reinterpret_cast<I>(
            __builtin_ia32_cvtmask2q512(__builtin_ia32_cmppd512_mask(a, b, static_cast<int>(C), 0xFF, 4)));
    } else if constexpr (C == Compare::Less) {
        return a < b;
    } else if constexpr (C == Compare::GreaterOrEqual) {
        return a >= b;
    } else {
        return a > b;
    }
}

template <int W>
[[gnu::always_inline]] inline typename Lanes<W>::I less(typename Lanes<W>::V a, typename Lanes<W>::V b) {
    return compare<W, Compare::Less>(a, b);
}

// The end of Perlin's noise2Cell in lanes: the corners' dot products blended
// along the fade curves, from the offsets in the cell and the corners'
// gradients (x, y) in the order (0, 0), (1, 0), (0, 1), (1, 1).
template <typename V>
[[gnu::always_inline]] inline V blendCorners(V rx0, V ry0, const V* gv) {
    const V rx1 = rx0 - 1.0;
    const V ry1 = ry0 - 1.0;
    const V sx = rx0 * rx0 * (3.0 - 2.0 * rx0);
    const V sy = ry0 * ry0 * (3.0 - 2.0 * ry0);
    const V u0 = rx0 * gv[0] + ry0 * gv[1];
    const V v0 = rx1 * gv[2] + ry0 * gv[3];
    const V a = u0 + sx * (v0 - u0);
    const V u1 = rx0 * gv[4] + ry1 * gv[5];
    const V v1 = rx1 * gv[6] + ry1 * gv[7];
    const V b = u1 + sx * (v1 - u1);
    return a + sy * (b - a);
}
#endif

// The build of a routine for the current path (see lanePath()); null for Scalar.
template <typename Routine>
Routine routineOfPath(Routine baseline, Routine avx2, Routine avx512) {
    switch (lanePath()) {
    case LanePath::Baseline: return baseline;
    case LanePath::Avx2: return avx2;
    case LanePath::Avx512: return avx512;
    default: return nullptr;
    }
}

} // namespace morvessan
