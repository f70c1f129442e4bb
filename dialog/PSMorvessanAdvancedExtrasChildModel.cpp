// Effects page edits, written into the parameter block's texture.
#include "dialog/PSMorvessanAdvancedExtrasChildModel.h"

#include "dialog/PSMorvessanBlockSession.h"
#include "dialog/PSMorvessanPresetSession.h"
#include "texture/FilterParameters.h"

#include <algorithm>

namespace morvessan {

namespace {

constexpr unsigned kOptionChange = kChangePreview | kChangeEnabledStates | kChangeFields;

int amount(std::int32_t stored) {
    return std::clamp<std::int32_t>(stored, PSMorvessanAdvancedExtrasChildModel::kAmountMin,
                                    PSMorvessanAdvancedExtrasChildModel::kAmountMax);
}

} // namespace

TextureFields* PSMorvessanAdvancedExtrasChildModel::fields() const {
    FilterParameters* block = m_block.GetParameters();
    return block ? &block->texture : nullptr;
}

unsigned PSMorvessanAdvancedExtrasChildModel::shown(const PSMorvessanScanProgress& progress) {
    if (m_textures.scanned()) {
        return kChangeNothing;
    }
    m_textures.scan(m_presets.GetTexturesFolder(), progress);
    return refresh();
}

unsigned PSMorvessanAdvancedExtrasChildModel::refresh() {
    if (const TextureFields* f = fields()) {
        m_textures.selectPath(readField(f->texturePath, kPathSize));
    }
    return kChangeFields | kChangeEnabledStates | kChangeTextureList;
}

bool PSMorvessanAdvancedExtrasChildModel::blurEnabled() const {
    const TextureFields* f = fields();
    return f && f->blurEnabled;
}

bool PSMorvessanAdvancedExtrasChildModel::noiseEnabled() const {
    const TextureFields* f = fields();
    return f && f->noiseEnabled;
}

bool PSMorvessanAdvancedExtrasChildModel::textureEnabled() const {
    const TextureFields* f = fields();
    return f && f->textureEnabled;
}

int PSMorvessanAdvancedExtrasChildModel::blurAmount() const {
    const TextureFields* f = fields();
    return amount(f ? f->blur : kAmountMin);
}

int PSMorvessanAdvancedExtrasChildModel::noiseAmount() const {
    const TextureFields* f = fields();
    return amount(f ? f->noise : kAmountMin);
}

int PSMorvessanAdvancedExtrasChildModel::textureAmount() const {
    const TextureFields* f = fields();
    return amount(f ? f->textureAmount : kAmountMin);
}

unsigned PSMorvessanAdvancedExtrasChildModel::setBlurEnabled(bool on) {
    TextureFields* f = fields();
    if (!f) {
        return kChangeNothing;
    }
    f->blurEnabled = on ? 1 : 0;
    return kOptionChange;
}

unsigned PSMorvessanAdvancedExtrasChildModel::setNoiseEnabled(bool on) {
    TextureFields* f = fields();
    if (!f) {
        return kChangeNothing;
    }
    f->noiseEnabled = on ? 1 : 0;
    return kOptionChange;
}

unsigned PSMorvessanAdvancedExtrasChildModel::setTextureEnabled(bool on) {
    TextureFields* f = fields();
    if (!f) {
        return kChangeNothing;
    }
    f->textureEnabled = on ? 1 : 0;
    if (!on || m_textures.selectedIndex() >= 0 || m_textures.count() == 0) {
        return kOptionChange;
    }
    m_textures.selectFirstIfNone();
    m_textures.storeSelectedPath(*f);
    return kOptionChange | kChangeTextureList;
}

unsigned PSMorvessanAdvancedExtrasChildModel::setAmounts(int blur, int noise, int texture) {
    TextureFields* f = fields();
    if (!f) {
        return kChangeNothing;
    }
    f->blur = amount(blur);
    f->noise = amount(noise);
    f->textureAmount = amount(texture);
    return kChangePreview;
}

unsigned PSMorvessanAdvancedExtrasChildModel::chooseTexture(int index) {
    TextureFields* f = fields();
    if (!f || index < 0 || index >= m_textures.count()) {
        return kChangeNothing;
    }
    m_textures.select(index);
    m_textures.storeSelectedPath(*f);
    return kChangePreview | kChangeTextureList;
}

} // namespace morvessan
