// The Effects page without its window: the blur, grain noise and texture picture
// options with their amounts, and the texture picker filled on first showing.
#pragma once

#include "dialog/PSMorvessanChange.h"
#include "dialog/PSMorvessanTextureLibraryModel.h"
#include "texture/TextureFieldTable.h"

namespace morvessan {

class PSMorvessanBlockSession;
class PSMorvessanPresetSession;

class PSMorvessanAdvancedExtrasChildModel {
public:
    // Blur, grain noise and picture strength share one range in the field table.
    static constexpr int kAmountMin = static_cast<int>(textureField(TextureFieldId::Blur).low);
    static constexpr int kAmountMax = static_cast<int>(textureField(TextureFieldId::Blur).high);
    static_assert(textureField(TextureFieldId::Noise).low == kAmountMin &&
                  textureField(TextureFieldId::Noise).high == kAmountMax &&
                  textureField(TextureFieldId::TextureAmount).low == kAmountMin &&
                  textureField(TextureFieldId::TextureAmount).high == kAmountMax);

    PSMorvessanAdvancedExtrasChildModel(PSMorvessanBlockSession& block, PSMorvessanPresetSession& presets)
        : m_block(block), m_presets(presets) {}

    // The page is shown: the first time the textures folder is scanned (the
    // progress callback may stop it). The picker then shows the block's picture.
    unsigned shown(const PSMorvessanScanProgress& progress = {});
    // Controls from the block again: the picker selects the stored path.
    unsigned refresh();

    bool blurEnabled() const;
    bool noiseEnabled() const;
    bool textureEnabled() const;
    // Slider positions, limited to 1..100.
    int blurAmount() const;
    int noiseAmount() const;
    int textureAmount() const;
    // Each slider (and the texture list) is enabled only while its box is checked.
    bool blurSliderEnabled() const { return blurEnabled(); }
    bool noiseSliderEnabled() const { return noiseEnabled(); }
    bool textureSliderEnabled() const { return textureEnabled(); }

    unsigned setBlurEnabled(bool on);
    unsigned setNoiseEnabled(bool on);
    // Switching on with no picture selected selects the first one and stores its path.
    unsigned setTextureEnabled(bool on);
    // Any slider movement writes all three amounts.
    unsigned setAmounts(int blur, int noise, int texture);
    // Choosing a picture stores its full path (at most 259 characters).
    unsigned chooseTexture(int index);

    PSMorvessanTextureLibraryModel& textures() { return m_textures; }
    const PSMorvessanTextureLibraryModel& textures() const { return m_textures; }

private:
    TextureFields* fields() const;

    PSMorvessanBlockSession& m_block;
    PSMorvessanPresetSession& m_presets;
    PSMorvessanTextureLibraryModel m_textures;
};

} // namespace morvessan
