// The studio's pictures: a texture drawn by the filter, as `morvessan render` draws
// it, into a PNG file or PNG bytes, with progress and a way to stop it.
#pragma once

#include "studio/StudioTexture.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace morvessan {
class VXFileReplacement;
}

namespace morvessan::studio {

struct StudioRun {
    std::string presetsDir;
    std::string texturesDir;
    std::function<void(std::int32_t done, std::int32_t total)> progress;
    std::function<bool()> interrupted; // true stops the run (a JobError with kCancelledStatus)
};

// Draws `block` (studioBlock's, its steps done) over the canvas and in the pattern
// space of `texture` into `file`, begun by the caller with a PNG name, and finishes
// it; a JobError when it cannot.
void renderTexturePng(const StudioTexture& texture, std::vector<std::uint8_t> block, const StudioRun& run,
                      VXFileReplacement& file);

// The same picture as PNG bytes, through a private scratch file.
std::string renderTexturePngBytes(const StudioTexture& texture, std::vector<std::uint8_t> block, const StudioRun& run);

} // namespace morvessan::studio
