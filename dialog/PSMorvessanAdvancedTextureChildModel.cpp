// Elements page edits, written into the parameter block's texture.
#include "dialog/PSMorvessanAdvancedTextureChildModel.h"

#include "VXLib/VXUTIL/VXNumberText.h"
#include "dialog/VXPSZoomRatio.h"
#include "dialog/PSMorvessanBlockSession.h"
#include "texture/FilterParameters.h"
#include "texture/MsRandom.h"
#include "dialog/NoiseWeightsGeometry.h"
#include "texture/UsableFields.h"

#include <algorithm>
#include <cmath>

namespace morvessan {

namespace {

// A stored double as a whole number within lo..hi (not a number gives lo).
int wholeWithin(double value, int lo, int hi) {
    if (!(value >= lo)) {
        return lo;
    }
    return value >= hi ? hi : static_cast<int>(value);
}

} // namespace

TextureFields* PSMorvessanAdvancedTextureChildModel::fields() const {
    FilterParameters* block = m_block.GetParameters();
    return block ? &block->texture : nullptr;
}

int PSMorvessanAdvancedTextureChildModel::typeIndex() const {
    const TextureFields* f = fields();
    return f ? usableType(f->type) - kCloud : 0;
}

unsigned PSMorvessanAdvancedTextureChildModel::chooseType(int index) {
    TextureFields* f = fields();
    if (!f || index < 0 || index >= static_cast<int>(kTypeNames.size())) {
        return kChangeNothing;
    }
    f->type = kCloud + index;
    return kChangePreview | kChangeFieldVisibility | kChangeSpectrum;
}

std::string PSMorvessanAdvancedTextureChildModel::seedText() const {
    const TextureFields* f = fields();
    return formatInt(f ? f->noiseSeed : 0);
}

std::string PSMorvessanAdvancedTextureChildModel::bandsText() const {
    const TextureFields* f = fields();
    return formatInt(f ? wholeWithin(f->noiseLevel, kBandsMin, kBandsMax) : kBandsMin);
}

std::string PSMorvessanAdvancedTextureChildModel::grainText() const {
    const TextureFields* f = fields();
    return formatOneDecimal(f ? f->noiseParameter : kGrainMin);
}

unsigned PSMorvessanAdvancedTextureChildModel::setSeedText(const std::string& text) {
    TextureFields* f = fields();
    if (!f) {
        return kChangeNothing;
    }
    const std::int32_t seed = std::clamp(readInt(text), kSeedMin, kSeedMax);
    // Leaving the box unchanged costs no render; the text may still need tidying.
    if (seed == f->noiseSeed) {
        return kChangeFields;
    }
    f->noiseSeed = seed;
    return kChangePreview | kChangeFields;
}

unsigned PSMorvessanAdvancedTextureChildModel::setBandsText(const std::string& text) {
    TextureFields* f = fields();
    if (!f) {
        return kChangeNothing;
    }
    const double level = std::clamp(readInt(text), kBandsMin, kBandsMax);
    if (level == f->noiseLevel) {
        return kChangeFields;
    }
    f->noiseLevel = level;
    return kChangePreview | kChangeFields | kChangeSpectrum;
}

unsigned PSMorvessanAdvancedTextureChildModel::setGrainText(const std::string& text) {
    TextureFields* f = fields();
    if (!f) {
        return kChangeNothing;
    }
    const double grain = std::round(std::clamp(readDouble(text), kGrainMin, kGrainMax) * 10.0) / 10.0;
    if (grain == f->noiseParameter) {
        return kChangeNothing;
    }
    f->noiseParameter = grain;
    return kChangePreview;
}

unsigned PSMorvessanAdvancedTextureChildModel::randomiseSeed() {
    TextureFields* f = fields();
    if (!f) {
        return kChangeNothing;
    }
    f->noiseSeed = kRandomSeedLow + msRand() % (kRandomSeedHigh - kRandomSeedLow + 1);
    return kChangePreview | kChangeFields;
}

bool PSMorvessanAdvancedTextureChildModel::grainVisible() const {
    const TextureFields* f = fields();
    return f && f->type == kWood;
}

std::vector<double> PSMorvessanAdvancedTextureChildModel::spectrumWeights() const {
    const TextureFields* f = fields();
    if (!f) {
        return {};
    }
    return std::vector<double>(f->noiseWeights, f->noiseWeights + weightColumns(f->noiseLevel));
}

bool PSMorvessanAdvancedTextureChildModel::overSpectrumBar(const PixelRect& client, int x, int y) const {
    const TextureFields* f = fields();
    return f && hitWeight(client, *f, x, y) >= 0;
}

bool PSMorvessanAdvancedTextureChildModel::pressSpectrum(const PixelRect& client, int x, int y) {
    const TextureFields* f = fields();
    m_grabbed = f ? hitWeight(client, *f, x, y) : -1;
    if (m_grabbed < 0) {
        return false;
    }
    m_grab_weight = f->noiseWeights[m_grabbed];
    m_grab_y = y;
    m_grab_client = client;
    return true;
}

unsigned PSMorvessanAdvancedTextureChildModel::dragSpectrum(int y) {
    TextureFields* f = fields();
    if (!f || m_grabbed < 0) {
        return kChangeNothing;
    }
    f->noiseWeights[m_grabbed] = dragWeight(m_grab_client, m_grab_weight, y - m_grab_y);
    return kChangePreview | kChangeSpectrum;
}

} // namespace morvessan
