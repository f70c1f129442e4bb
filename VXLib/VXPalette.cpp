// VXPalette: colour tables, nearest-colour searches, the inverse colour map and
// the default and grey palettes.
#include "VXLib/VXPalette.h"

#include <limits>

namespace morvessan {

namespace {

struct Triple {
    std::uint8_t r, g, b;
};

// The default palette: the twenty system colours at both ends, and between them
// 32 greys and, for each of red, green, blue, yellow, magenta and cyan, 17 shades
// rising from dark to full followed by 17 tints rising from full towards white.
constexpr std::array<Triple, 256> makeDefaultTable() {
    std::array<Triple, 256> t{};
    constexpr Triple low[10] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
                                {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {164, 200, 240}};
    constexpr Triple high[10] = {{255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
                                 {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255}};
    for (int i = 0; i < 10; ++i) {
        t[i] = low[i];
        t[246 + i] = high[i];
    }
    int n = 10;
    for (int i = 1; i <= 32; ++i) {
        const auto v = std::uint8_t(i * 255 / 33);
        t[n++] = {v, v, v};
    }
    constexpr Triple hues[6] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {1, 0, 1}, {0, 1, 1}};
    for (const Triple& h : hues) {
        for (int k = 1; k <= 17; ++k) {
            const auto v = std::uint8_t(k * 255 / 17);
            t[n++] = {std::uint8_t(h.r * v), std::uint8_t(h.g * v), std::uint8_t(h.b * v)};
        }
        for (int k = 1; k <= 17; ++k) {
            const auto v = std::uint8_t(k * 255 / 18);
            t[n++] = {h.r ? std::uint8_t(255) : v, h.g ? std::uint8_t(255) : v, h.b ? std::uint8_t(255) : v};
        }
    }
    // n == 246 here: the upper system colours follow.
    return t;
}

constexpr std::array<Triple, 256> kDefaultTable = makeDefaultTable();

int distance(const VXRGBQuad& e, int r, int g, int b) {
    const int dr = int(e.red) - r;
    const int dg = int(e.green) - g;
    const int db = int(e.blue) - b;
    return dr * dr + dg * dg + db * db;
}

} // namespace

VXPalette::VXPalette(const VXRGBQuad* entries, int count) { setColours(entries, count); }

bool VXPalette::setColours(const VXRGBQuad* entries, int count) {
    m_entries.clear();
    m_inverse_map.clear();
    m_table15.fill(0);
    m_valid = false;
    if (count < 0 || count > kMaxEntries || (count > 0 && entries == nullptr))
        return false;
    m_entries.assign(entries, entries + count);
    for (int i = 0; i < count; ++i) {
        const VXRGBQuad& e = m_entries[i];
        m_entries[i].reserved = 0;
        m_table15[i] = std::uint16_t(((e.blue >> 3) << 10) | ((e.green >> 3) << 5) | (e.red >> 3));
    }
    m_valid = true;
    return true;
}

VXPalette VXPalette::defaultPalette() {
    std::array<VXRGBQuad, 256> quads;
    for (int i = 0; i < 256; ++i)
        quads[i] = VXRGBQuad{kDefaultTable[i].b, kDefaultTable[i].g, kDefaultTable[i].r, 0};
    return VXPalette(quads.data(), 256);
}

VXPalette VXPalette::greyPalette() {
    std::array<VXRGBQuad, 256> quads;
    for (int i = 0; i < 256; ++i)
        quads[i] = VXRGBQuad{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0};
    return VXPalette(quads.data(), 256);
}

std::uint32_t VXPalette::colour(int index) const {
    if (index < 0 || index >= count())
        return 0;
    return vxColourOf(m_entries[index]);
}

int VXPalette::nearestIndex(std::uint32_t colour) const { return nearestIndexSkipping(colour, -1); }

int VXPalette::nearestIndexSkipping(std::uint32_t colour, int skipIndex) const {
    const int r = vxRed(colour), g = vxGreen(colour), b = vxBlue(colour);
    int best = -1;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < count(); ++i) {
        if (i == skipIndex)
            continue;
        const int d = distance(m_entries[i], r, g, b);
        if (d <= bestDistance) { // the later of equally near entries wins
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

const std::vector<std::uint8_t>& VXPalette::inverseColourMap() {
    if (m_inverse_map.empty() && !m_entries.empty()) {
        m_inverse_map.resize(kInverseMapSize);
        for (std::size_t i = 0; i < kInverseMapSize; ++i) {
            const std::uint32_t c = i == 0x7FFF
                                        ? 0xFFFFFFu
                                        : vxRGB(std::uint8_t((i & 0x1F) << 3), std::uint8_t(((i >> 5) & 0x1F) << 3),
                                                std::uint8_t(((i >> 10) & 0x1F) << 3));
            m_inverse_map[i] = std::uint8_t(nearestIndex(c));
        }
    }
    return m_inverse_map;
}

std::uint8_t VXPalette::inverseLookup(std::uint32_t colour) {
    const auto& map = inverseColourMap();
    if (map.empty())
        return 0;
    const std::size_t i = (vxRed(colour) >> 3) | ((vxGreen(colour) >> 3) << 5) | ((vxBlue(colour) >> 3) << 10);
    return map[i];
}

std::vector<std::uint8_t> VXPalette::buildLogicalPalette() const {
    std::vector<std::uint8_t> block(4 + 4 * m_entries.size());
    block[0] = 0x00;
    block[1] = 0x03;
    block[2] = std::uint8_t(m_entries.size());
    block[3] = std::uint8_t(m_entries.size() >> 8);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        block[4 + 4 * i] = m_entries[i].red;
        block[5 + 4 * i] = m_entries[i].green;
        block[6 + 4 * i] = m_entries[i].blue;
        block[7 + 4 * i] = 0;
    }
    return block;
}

} // namespace morvessan
