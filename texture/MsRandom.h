// The run-time's pseudo-random sequence with its Microsoft rand/srand definition,
// as our own code so every platform draws the same numbers; one state per thread.
#pragma once

#include <cstdint>

namespace morvessan {

inline constexpr int kMsRandMax = 0x7FFF;

// Sets this thread's state to `seed`.
void msSrand(std::uint32_t seed);

// state = state * 214013 + 2531011; returns (state >> 16) & 0x7FFF.
int msRand();

} // namespace morvessan
