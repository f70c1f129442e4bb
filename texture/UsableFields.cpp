// The limits of the texture record's fields as the builder, the renderer, the
// colour table, the gradient stops and the preset text use them.
#include "texture/UsableFields.h"

#include "texture/TextureFieldTable.h"

#include <algorithm>

namespace morvessan {

TextureType usableType(std::int32_t type) {
    return type >= kCloud && type <= kWood ? static_cast<TextureType>(type) : kCloud;
}

namespace {
constexpr const TextureField& kLevel = textureField(TextureFieldId::NoiseLevel);
constexpr const TextureField& kPositions = textureField(TextureFieldId::Colours);
constexpr const TextureField& kBlur = textureField(TextureFieldId::Blur);
} // namespace

double usableNoiseLevel(double level) {
    if (!(level > kLevel.storedLow)) {
        return kLevel.storedLow; // not a number too
    }
    return level > kLevel.storedHigh ? kLevel.storedHigh : level;
}

int usableColourCount(std::int32_t count) { return std::clamp<std::int32_t>(count, 1, kMaxColourStops); }

int usablePosition(std::int32_t position) {
    return std::clamp<std::int32_t>(position, static_cast<std::int32_t>(kPositions.storedLow),
                                    static_cast<std::int32_t>(kPositions.storedHigh));
}

std::int32_t usableBlur(std::int32_t blur) {
    return std::clamp<std::int32_t>(blur, static_cast<std::int32_t>(kBlur.storedLow),
                                    static_cast<std::int32_t>(kBlur.storedHigh));
}

} // namespace morvessan
