// The texture object of a texture record; stored values of any size are
// limited before they are used.
#include "texture/TextureBuilder.h"

#include "texture/TextureTypes.h"
#include "texture/UsableFields.h"

namespace morvessan {

namespace {

std::unique_ptr<Texture3D> makeOfType(std::int32_t type) {
    switch (usableType(type)) {
    case kFire: return std::make_unique<Fire>();
    case kMarble: return std::make_unique<Marble>();
    case kWood: return std::make_unique<Wood>();
    default: return std::make_unique<Cloud>();
    }
}

} // namespace

int octaveCount(double noiseLevel) { return static_cast<int>(usableNoiseLevel(noiseLevel)); }

std::unique_ptr<Texture3D> makeTexture(const TextureFields& fields) {
    auto texture = makeOfType(fields.type);
    texture->setSeed(fields.noiseSeed);
    texture->setTransformation(fields.transformation);
    const double level = usableNoiseLevel(fields.noiseLevel);
    texture->setOctaves(static_cast<int>(level));
    for (int i = 0; i < level; ++i) {
        texture->setWeight(i, fields.noiseWeights[i]);
    }
    texture->setNoiseParameter(fields.noiseParameter);
    return texture;
}

std::unique_ptr<Texture3D> makeTexture(const TextureFields& fields, const PatternSpace& space) {
    auto texture = makeTexture(fields);
    texture->setPatternSpace(space);
    return texture;
}

} // namespace morvessan
