// Default values and fixed-size string fields of the texture record.
#include "texture/TexturePreset.h"

#include <algorithm>
#include <cstring>

namespace morvessan {

void writeDefaultFields(TextureFields& f) {
    const TextureFields defaults;
    f.type = defaults.type;
    f.noiseLevel = defaults.noiseLevel;
    f.noiseSeed = defaults.noiseSeed;
    std::copy(std::begin(defaults.colours), std::end(defaults.colours), std::begin(f.colours));
    std::copy(std::begin(defaults.positions), std::end(defaults.positions), std::begin(f.positions));
    f.colourCount = defaults.colourCount;
    f.totalOpacity = defaults.totalOpacity;
    f.transformation = defaults.transformation;
    std::copy(std::begin(defaults.noiseWeights), std::end(defaults.noiseWeights), std::begin(f.noiseWeights));
    f.noiseParameter = defaults.noiseParameter;
    f.blurEnabled = 0;
    f.blur = defaults.blur;
    f.noiseEnabled = 0;
    f.noise = defaults.noise;
    f.textureEnabled = 0;
    f.reserved = 0;
    f.textureAmount = defaults.textureAmount;
    f.texturePath[0] = '\0';
}

void copyToField(char* field, std::size_t size, const std::string& text) {
    if (size == 0) {
        return;
    }
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

std::string readField(const char* field, std::size_t size) {
    const void* end = std::memchr(field, '\0', size);
    const std::size_t n = end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : size;
    return std::string(field, n);
}

} // namespace morvessan
