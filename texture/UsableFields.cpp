// The limits of the texture record's fields as the builder, the renderer, the
// colour table, the gradient stops and the preset text use them.
#include "texture/UsableFields.h"

#include <algorithm>

namespace morvessan {

TextureType usableType(std::int32_t type) {
    return type >= kCloud && type <= kWood ? static_cast<TextureType>(type) : kCloud;
}

double usableNoiseLevel(double level) {
    if (!(level > 0.0)) {
        return 0.0;
    }
    return level > kMaxOctaves ? static_cast<double>(kMaxOctaves) : level;
}

int usableColourCount(std::int32_t count) { return std::clamp<std::int32_t>(count, 1, kMaxColourStops); }

int usablePosition(std::int32_t position) { return std::clamp<std::int32_t>(position, 0, 255); }

std::int32_t usableBlur(std::int32_t blur) { return std::clamp<std::int32_t>(blur, 0, 100); }

} // namespace morvessan
