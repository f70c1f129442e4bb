// Which instruction set the lane routines of every pass (noise, textures, colours)
// run on: the widest this processor has, narrowed by MORVESSAN_SIMD or by a test.
#pragma once

namespace morvessan {

enum class LanePath { Scalar, Baseline, Avx2, Avx512 };

// The widest path this processor runs, narrowed by MORVESSAN_SIMD (scalar,
// baseline, avx2 or avx512) when that is set.
LanePath lanePath();
// Forces a path (narrowed to what the processor has); returns the one taken.
LanePath setLanePath(LanePath path);
// Whether this processor and build can run `path`.
bool lanePathAvailable(LanePath path);

} // namespace morvessan
