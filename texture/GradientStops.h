// GradientStops: the gradient editor's list of up to eight colour stops, kept in
// order of position, with one stop always selected, and its editing operations.
#pragma once

#include "texture/TexturePreset.h"

#include <cstdint>

namespace morvessan {

class GradientStops {
public:
    // Transparent black at 0 and opaque white at 255, stop 0 selected.
    GradientStops();

    // The stops of a record, made editable: the count limited to 1..8, positions to
    // 0..255, the stops in a stable order of position; stop 0 selected.
    static GradientStops fromFields(const TextureFields& fields);
    // Writes count, colours and positions back; stops beyond the count are left as they were.
    void storeInFields(TextureFields& fields) const;

    int count() const { return m_count; }
    int selected() const { return m_selected; }
    std::uint32_t colour(int i) const { return m_colours[i]; }
    int position(int i) const { return m_positions[i]; }

    // Adds a stop in the middle of the widest gap, coloured as the selected stop, and
    // selects it. Refused (false) at eight stops.
    bool addStop();
    // Removes the selected stop. Refused (false) at one stop.
    bool removeStop();
    // Mirrors the gradient: the order reversed, every position p becomes 255 - p.
    void reverseGradient();
    // Moves the selected stop to `position` (limited to 0..255), keeping the order.
    void moveStop(int position);
    // Selects stop i; false (and nothing changes) for an index outside the list.
    bool selectStop(int i);
    // Changes the selected stop's colour (and opacity).
    void setSelectedColour(std::uint32_t colour);

    bool operator==(const GradientStops&) const = default;

private:
    std::uint32_t m_colours[kMaxColourStops] = {};
    int m_positions[kMaxColourStops] = {};
    int m_count = 0;
    int m_selected = 0;
};

} // namespace morvessan
