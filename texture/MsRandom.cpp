// Per-thread state of the Microsoft rand/srand sequence.
#include "texture/MsRandom.h"

namespace morvessan {

namespace {
// The Microsoft run-time starts every thread's sequence as if seeded with 1.
thread_local std::uint32_t t_state = 1;
} // namespace

void msSrand(std::uint32_t seed) { t_state = seed; }

int msRand() {
    t_state = t_state * 214013u + 2531011u;
    return static_cast<int>((t_state >> 16) & 0x7FFFu);
}

} // namespace morvessan
