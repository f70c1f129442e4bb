// The value rules shared by sliders, spin buttons and numeric edit boxes: a range
// walked in whole steps, clamping, fixed decimals and what typed text may hold.
#pragma once

#include <string>

namespace morvessan {

struct VXValueRange {
    double minimum;
    double maximum;
    double step;  // > 0; slider positions and arrow keys move by whole steps
    int decimals; // digits after the decimal point, 0 or 1
};

class VXValueField {
public:
    // A reversed range is swapped, a step that is not positive becomes one unit of the
    // last decimal, decimals are kept within 0..9; `value` is clamped and rounded to the step.
    explicit VXValueField(VXValueRange range, double value);

    const VXValueRange& range() const { return m_range; }
    double value() const;
    // Slider positions count steps from the minimum: 0 .. sliderMaximum().
    int sliderPosition() const { return m_position; }
    int sliderMaximum() const { return m_last; }

    // Each clamps into the range, rounds to the nearest step and returns true when the
    // value changed. A value that is not a number is refused.
    bool setValue(double v);
    bool setSliderPosition(int position);
    bool stepBy(int steps); // arrow keys and spin buttons

    // "12" or "-1.5": fixed decimals, '.' as the mark, whatever the locale.
    std::string text() const;
    // Accepts surrounding spaces, a sign, digits and at most one '.' or ',' as the decimal
    // mark, with at least one digit. Anything else keeps the value and returns false;
    // a number returns true (the value itself may be unchanged).
    bool setText(const std::string& typed);

private:
    bool setPositionChecked(double position);

    VXValueRange m_range;
    int m_last = 0;     // position of the last step inside the range
    int m_position = 0; // steps from the minimum
};

} // namespace morvessan
