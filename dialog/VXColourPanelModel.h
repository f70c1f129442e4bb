// The colour picker's two-channel panel or one-channel slider without its window:
// the colours of its picture, where its marker sits, and what a pointer or arrow key sets.
#pragma once

#include "dialog/VXColourAxes.h"
#include "dialog/VXGeometry.h"

#include <cstdint>
#include <vector>

namespace morvessan {

// Positions are pixels of the picture, x rightwards and y downwards from its top-left
// corner; the values it shows rise to the right and upwards.
class VXColourPanelModel {
public:
    struct Point {
        int x;
        int y;
        bool operator==(const Point&) const = default;
    };

    VXColourPanelModel(VXPSColourPickerModel& picker, bool isSlider) : m_picker(picker), m_is_slider(isSlider) {}

    bool isSlider() const { return m_is_slider; }
    // The channels of the picker's current style.
    VXColourAxes axes() const { return colourAxes(m_picker.style()); }

    // The colour (0x00BBGGRR) of every pixel of a picture of `size`, row by row from the top:
    // the slider spreads its channel over the rows, the panel its two channels over the area.
    std::vector<std::uint32_t> picture(VXSizeI size) const;
    // The marker's centre in a picture of `size`: the slider's row (x is 0), or the panel's point.
    Point marker(VXSizeI size) const;

    // A press or drag at (x, y) over a picture of `size`, limited to the picture.
    unsigned pick(int x, int y, VXSizeI size);
    // An arrow key: the panel steps its x channel by dx and its y channel by dy, the slider
    // its channel by dx + dy (right and up count +1).
    unsigned step(int dx, int dy);

private:
    // A colour chosen here redraws the fields, this half's marker, and the other half's
    // picture when the picker's option says it follows (else only its marker).
    unsigned changes() const;

    VXPSColourPickerModel& m_picker;
    bool m_is_slider;
};

} // namespace morvessan
