// The Elements page (texture) without its window: type, seed, turbulence bands,
// grain, the turbulence spectrum, and which fields the type shows.
#pragma once

#include "dialog/PSMorvessanChange.h"
#include "texture/PixelRect.h"
#include "texture/TextureFieldTable.h"

#include <array>
#include <string>
#include <vector>

namespace morvessan {

class PSMorvessanBlockSession;
struct TextureFields;

class PSMorvessanAdvancedTextureChildModel {
public:
    // The editors' limits, as the field table declares them.
    static constexpr const auto& kTypeNames = kTextureTypeWords;
    static constexpr int kSeedMin = static_cast<int>(textureField(TextureFieldId::NoiseSeed).low);
    static constexpr int kSeedMax = static_cast<int>(textureField(TextureFieldId::NoiseSeed).high);
    static constexpr int kBandsMin = static_cast<int>(textureField(TextureFieldId::NoiseLevel).low);
    static constexpr int kBandsMax = static_cast<int>(textureField(TextureFieldId::NoiseLevel).high);
    static constexpr double kGrainMin = textureField(TextureFieldId::NoiseParameter).low;
    static constexpr double kGrainMax = textureField(TextureFieldId::NoiseParameter).high;

    explicit PSMorvessanAdvancedTextureChildModel(PSMorvessanBlockSession& block) : m_block(block) {}

    // Row of the type list: 0 Cloud .. 3 Wood; a stored type outside 1..4 renders
    // as Cloud and shows as Cloud.
    int typeIndex() const;
    unsigned chooseType(int index);

    // Texts of the three boxes.
    std::string seedText() const;
    std::string bandsText() const;
    std::string grainText() const;
    // "Random Seed" and "Turbulence Bands" take their text when they lose focus,
    // limited to their ranges; "Grain" takes it on every change, one decimal.
    unsigned setSeedText(const std::string& text);
    unsigned setBandsText(const std::string& text);
    unsigned setGrainText(const std::string& text);
    // "Randomise": the run-time's next random number modulo 10000.
    unsigned randomiseSeed();

    // Wood shows "Grain" and hides the turbulence bands and spectrum; other types the reverse.
    bool grainVisible() const;
    bool turbulenceVisible() const { return !grainVisible(); }

    // The spectrum's bars as the block holds them: one weight per used octave
    // (none without a block), so the control draws without reaching past the page.
    std::vector<double> spectrumWeights() const;
    // The spectrum in a client rectangle: whether (x, y) is over a bar's level
    // (the vertical sizing cursor), grabbing a bar, and dragging it.
    bool overSpectrumBar(const PixelRect& client, int x, int y) const;
    bool pressSpectrum(const PixelRect& client, int x, int y);
    unsigned dragSpectrum(int y);
    void releaseSpectrum() { m_grabbed = -1; }
    int grabbedBar() const { return m_grabbed; }

    // Everything on the page comes from the block again.
    unsigned refresh() const { return kChangeFields | kChangeFieldVisibility | kChangeSpectrum; }

private:
    TextureFields* fields() const;

    PSMorvessanBlockSession& m_block;
    int m_grabbed = -1;
    double m_grab_weight = 1.0;
    int m_grab_y = 0;
    PixelRect m_grab_client;
};

} // namespace morvessan
