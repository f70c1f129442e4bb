// Frames are computed from their number alone, never from the frame before, so
// that a slice of a sequence rendered anywhere equals the same frames of a whole run.
#include "job/JobPattern.h"

#include <algorithm>
#include <cmath>

namespace morvessan {

std::string patternRequestProblem(const PatternRequest& request, const PatternOptionNames& names) {
    const std::string evolve = names.evolve;
    const std::string loop = names.loop;
    if (request.evolve && !(std::fabs(*request.evolve) <= kMaxEvolveStep)) {
        return evolve + " must be a number of lattice cells from -1048576 to 1048576";
    }
    if (request.loop) {
        if (!request.evolve) {
            return loop + " needs " + evolve + ": the noise's move in depth is what loops";
        }
        if (*request.loop < 2 || *request.loop > kMaxFrames) {
            return loop + " must be 2 to " + std::to_string(kMaxFrames) + " frames";
        }
        if (std::round(*request.loop * std::fabs(*request.evolve)) > kMaxDepthPeriod) {
            return loop + " x " + evolve + " must stay within " + std::to_string(kMaxDepthPeriod) + " lattice cells";
        }
    }
    if (request.frame < 0 || request.frame >= kMaxFrames) {
        return "the frame number must be 0 to " + std::to_string(kMaxFrames - 1);
    }
    return {};
}

PatternSpace patternSpaceOf(const PatternRequest& request) {
    PatternSpace space;
    space.tileable = request.tileable;
    if (!request.evolve) {
        return space;
    }
    space.evolving = true;
    const double step = *request.evolve;
    if (!request.loop) {
        space.depth = request.frame * step;
        return space;
    }
    const std::int64_t frames = *request.loop;
    const auto period = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::round(frames * std::fabs(step))));
    space.depthPeriod = static_cast<std::int32_t>(period);
    // frame x period is an exact integer; one division, the same on every build.
    const double depth = static_cast<double>((request.frame % frames) * period) / static_cast<double>(frames);
    space.depth = step < 0 ? -depth : depth;
    return space;
}

} // namespace morvessan
