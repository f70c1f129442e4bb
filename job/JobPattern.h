// The pattern space of one frame of a render as the command line and the Python
// module ask for it: a tile that wraps, and noise that evolves and loops.
#pragma once

#include "texture/PatternSpace.h"

#include <optional>
#include <string>

namespace morvessan {

struct PatternRequest {
    bool tileable = false;
    std::optional<double> evolve; // lattice cells the noise moves in depth each frame
    std::optional<int> loop;      // frames after which the sequence comes back to its first
    int frame = 0;                // counted from 0
};

inline constexpr double kMaxEvolveStep = 1048576.0; // 2^20 cells a frame
inline constexpr int kMaxFrames = 100000;

// What the caller calls the request's parts: the command line's options by default.
struct PatternOptionNames {
    const char* evolve = "--per-frame-evolve DZ";
    const char* loop = "--loop N";
};

// "" when the request can be met; else the sentence that says why not, in the
// caller's names.
std::string patternRequestProblem(const PatternRequest& request, const PatternOptionNames& names = {});

// Frame `frame`'s space, from its number alone: depth = frame x DZ; with a loop of
// N frames the depth period is N x |DZ| rounded to whole cells (at least one) and
// the depth steps by period / N, so frame N would be frame 0 again.
PatternSpace patternSpaceOf(const PatternRequest& request);

} // namespace morvessan
