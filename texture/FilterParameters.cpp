// Defaults and preset conversion of the host-kept parameter block.
#include "texture/FilterParameters.h"

#include "texture/TextureFieldTable.h"

namespace morvessan {

void writeDefaultParameters(FilterParameters& block) {
    writeDefaultFields(block.texture);
    block.presetFile[0] = '\0';
    block.categoryIndex = 0;
    block.seamless = 0;
    block.scaleBySource = 0;
    block.overwriteSource = 0;
}

TexturePreset presetFromBlock(const FilterParameters& block) {
    TexturePreset preset;
    preset.fields() = block.texture;
    // A host block may hold anything after the path's zero; keep the copy tidy.
    copyToField(preset.texturePath, kPathSize, readField(block.texture.texturePath, kPathSize));
    return preset;
}

void storePresetInBlock(FilterParameters& block, const TextureFields& fields) { block.texture = fields; }

} // namespace morvessan
