// The vector lanes the row routines are written over, and the choice among a
// routine's builds for each instruction set; shared by the noise and texture rows.
#pragma once

#include "texture/NoiseRows.h"

#include <cstdint>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(_M_X64))
#define MORVESSAN_LANES 1
#endif

namespace morvessan {

#if defined(MORVESSAN_LANES)
template <int W>
struct Lanes {
    typedef double V __attribute__((vector_size(W * 8)));
    typedef std::int64_t I __attribute__((vector_size(W * 8)));
};
#endif

// The build of a routine for the current path (see noisePath()); null for Scalar.
template <typename Routine>
Routine routineOfPath(Routine baseline, Routine avx2, Routine avx512) {
    switch (noisePath()) {
    case NoisePath::Baseline: return baseline;
    case NoisePath::Avx2: return avx2;
    case NoisePath::Avx512: return avx512;
    default: return nullptr;
    }
}

} // namespace morvessan
