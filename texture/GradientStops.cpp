// The gradient editor's stop-list operations; every one leaves the stops sorted
// by position and one stop selected.
#include "texture/GradientStops.h"

#include "texture/UsableFields.h"

#include <algorithm>
#include <utility>

namespace morvessan {

GradientStops::GradientStops() {
    m_colours[0] = 0x00000000u;
    m_positions[0] = 0;
    m_colours[1] = 0xFFFFFFFFu;
    m_positions[1] = 255;
    m_count = 2;
}

GradientStops GradientStops::fromFields(const TextureFields& fields) {
    GradientStops s;
    s.m_count = usableColourCount(fields.colourCount);
    std::pair<int, std::uint32_t> stops[kMaxColourStops];
    for (int i = 0; i < s.m_count; ++i) {
        stops[i] = {usablePosition(fields.positions[i]), fields.colours[i]};
    }
    std::stable_sort(stops, stops + s.m_count, [](const auto& l, const auto& r) { return l.first < r.first; });
    for (int i = 0; i < kMaxColourStops; ++i) {
        s.m_positions[i] = i < s.m_count ? stops[i].first : 0;
        s.m_colours[i] = i < s.m_count ? stops[i].second : 0;
    }
    s.m_selected = 0;
    return s;
}

void GradientStops::storeInFields(TextureFields& fields) const {
    fields.colourCount = m_count;
    for (int i = 0; i < m_count; ++i) {
        fields.colours[i] = m_colours[i];
        fields.positions[i] = m_positions[i];
    }
}

bool GradientStops::addStop() {
    if (m_count >= kMaxColourStops) {
        return false;
    }
    // Gap g lies before stop g; gap m_count lies after the last stop. The first widest wins.
    int widest = 0;
    int widestSize = m_count > 0 ? m_positions[0] : -1;
    for (int g = 1; g <= m_count; ++g) {
        const int size = g == m_count ? 255 - m_positions[m_count - 1] : m_positions[g] - m_positions[g - 1];
        if (size > widestSize) {
            widest = g;
            widestSize = size;
        }
    }
    int position;
    if (m_count == 0) {
        position = 127;
    } else if (widest == 0) {
        position = m_positions[0] / 2;
    } else if (widest == m_count) {
        position = (m_positions[m_count - 1] + 255) / 2;
    } else {
        position = (m_positions[widest - 1] + m_positions[widest]) / 2;
    }
    const std::uint32_t colour = m_count > 0 ? m_colours[m_selected] : 0xFFFFFFFFu;
    for (int i = m_count; i > widest; --i) {
        m_colours[i] = m_colours[i - 1];
        m_positions[i] = m_positions[i - 1];
    }
    m_colours[widest] = colour;
    m_positions[widest] = position;
    ++m_count;
    m_selected = widest;
    return true;
}

bool GradientStops::removeStop() {
    if (m_count <= 1) {
        return false;
    }
    const int removed = m_selected;
    for (int i = removed; i + 1 < m_count; ++i) {
        m_colours[i] = m_colours[i + 1];
        m_positions[i] = m_positions[i + 1];
    }
    --m_count;
    if (removed == m_count) {
        m_selected = m_count - 1;
    } else if (removed > 0) {
        m_selected = removed - 1;
    } else {
        m_selected = 0;
    }
    return true;
}

void GradientStops::reverseGradient() {
    std::reverse(m_colours, m_colours + m_count);
    std::reverse(m_positions, m_positions + m_count);
    for (int i = 0; i < m_count; ++i) {
        m_positions[i] = 255 - m_positions[i];
    }
    m_selected = m_count - 1 - m_selected;
}

void GradientStops::moveStop(int position) {
    int i = m_selected;
    m_positions[i] = usablePosition(position);
    while (i + 1 < m_count && m_positions[i + 1] < m_positions[i]) {
        std::swap(m_positions[i], m_positions[i + 1]);
        std::swap(m_colours[i], m_colours[i + 1]);
        ++i;
    }
    while (i > 0 && m_positions[i - 1] > m_positions[i]) {
        std::swap(m_positions[i], m_positions[i - 1]);
        std::swap(m_colours[i], m_colours[i - 1]);
        --i;
    }
    m_selected = i;
}

bool GradientStops::selectStop(int i) {
    if (i < 0 || i >= m_count) {
        return false;
    }
    m_selected = i;
    return true;
}

void GradientStops::setSelectedColour(std::uint32_t colour) { m_colours[m_selected] = colour; }

} // namespace morvessan
