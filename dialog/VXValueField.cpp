// Value field: the value lives as a whole number of steps from the minimum, so
// slider, arrow keys and typed text always land on the same grid.
#include "dialog/VXValueField.h"

#include "VXLib/VXUTIL/VXNumberText.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace morvessan {

namespace {

double scaleOf(int decimals) {
    double scale = 1;
    for (int i = 0; i < decimals; ++i) {
        scale *= 10;
    }
    return scale;
}

std::string digitsOf(std::uint64_t value, int minimumDigits) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + value % 10));
        value /= 10;
    } while (value != 0);
    if (static_cast<int>(digits.size()) < minimumDigits) {
        digits.insert(0, static_cast<std::size_t>(minimumDigits) - digits.size(), '0');
    }
    return digits;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

VXValueField::VXValueField(VXValueRange range, double value) : m_range(range) {
    m_range.decimals = std::clamp(m_range.decimals, 0, 9);
    if (!(m_range.minimum <= m_range.maximum)) {
        std::swap(m_range.minimum, m_range.maximum);
    }
    if (!std::isfinite(m_range.minimum) || !std::isfinite(m_range.maximum)) {
        m_range.minimum = m_range.maximum = 0;
    }
    if (!(m_range.step > 0) || !std::isfinite(m_range.step)) {
        m_range.step = 1 / scaleOf(m_range.decimals);
    }
    // A small tolerance so that a maximum on the grid is not lost to rounding (0..1 by 0.1).
    const double steps = std::floor((m_range.maximum - m_range.minimum) / m_range.step + 1e-9);
    m_last = static_cast<int>(std::min<double>(steps, INT_MAX));
    setValue(value);
}

double VXValueField::value() const {
    const double scale = scaleOf(m_range.decimals);
    return std::round((m_range.minimum + m_position * m_range.step) * scale) / scale;
}

bool VXValueField::setPositionChecked(double position) {
    if (std::isnan(position)) {
        return false;
    }
    const int clamped = static_cast<int>(std::clamp(position, 0.0, static_cast<double>(m_last)));
    const bool changed = clamped != m_position;
    m_position = clamped;
    return changed;
}

bool VXValueField::setValue(double v) { return setPositionChecked(std::round((v - m_range.minimum) / m_range.step)); }

bool VXValueField::setSliderPosition(int position) { return setPositionChecked(position); }

bool VXValueField::stepBy(int steps) { return setPositionChecked(static_cast<double>(m_position) + steps); }

std::string VXValueField::text() const {
    const double scale = scaleOf(m_range.decimals);
    const double scaled = std::round(value() * scale);
    // Far beyond any dialog's range, but the conversion must stay defined.
    const std::uint64_t magnitude = static_cast<std::uint64_t>(std::min(std::fabs(scaled), 1e19));
    const std::uint64_t unit = static_cast<std::uint64_t>(scale);
    std::string text = scaled < 0 ? "-" : "";
    text += digitsOf(magnitude / unit, 1);
    if (m_range.decimals > 0) {
        text += '.' + digitsOf(magnitude % unit, m_range.decimals);
    }
    return text;
}

bool VXValueField::setText(const std::string& typed) {
    std::size_t begin = 0;
    std::size_t end = typed.size();
    while (begin < end && isBlank(typed[begin]))
        ++begin;
    while (end > begin && isBlank(typed[end - 1]))
        --end;

    std::string number;
    std::size_t i = begin;
    if (i < end && (typed[i] == '+' || typed[i] == '-')) {
        number += typed[i++];
    }
    bool digits = false;
    bool mark = false;
    for (; i < end; ++i) {
        const char c = typed[i];
        if (c >= '0' && c <= '9') {
            digits = true;
            number += c;
        } else if ((c == '.' || c == ',') && !mark) {
            mark = true;
            number += '.';
        } else {
            return false;
        }
    }
    if (!digits) {
        return false;
    }
    setValue(readDouble(number));
    return true;
}

} // namespace morvessan
