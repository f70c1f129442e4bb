// What each control that edits the texture transformation asks for: the
// navigation buttons, the wheel, drags and double clicks in the preview.
#pragma once

#include "texture/TextureTransform.h"

#include <cstdint>

namespace morvessan {

enum class NavigationButton {
    MoveLeft,
    MoveRight,
    MoveUp,
    MoveDown,
    ZoomIn,
    ZoomOut,
    SquashHorizontally,
    SpreadHorizontally,
    SquashVertically,
    SpreadVertically,
    RotateLeft,
    RotateRight,
    Reset,
};

// One edit: which operation, and its amounts (a, b).
struct TransformAction {
    enum class Kind { None, Move, Scale, Rotate, Reset };
    Kind kind = Kind::None;
    double a = 0.0;
    double b = 0.0;

    bool operator==(const TransformAction&) const = default;
};

// The edit of a navigation button held for t milliseconds; `fine` (Alt or Ctrl
// held) takes a tenth of the step. Reset ignores both.
TransformAction navigationAction(NavigationButton button, double t, bool fine);

// The edit of one wheel report of `delta` (120 per notch) with the modifier keys;
// Alt divides the delta by 10, truncating.
TransformAction wheelAction(int delta, bool shift, bool ctrl, bool alt);

// The move of a double click at (x, y): the clicked point comes to the middle of the
// client area of size width x height.
TransformAction doubleClickAction(int width, int height, int x, int y);

// Applies an edit to M; moves are in preview pixels with pw x ph the image inside the preview.
void applyAction(TextureTransform& m, const TransformView& view, const TransformAction& action, double pw, double ph);

// A drag in the preview: the matrix saved at the press, moved by the pointer's offset from the press.
TextureTransform dragTransform(const TextureTransform& saved, const TransformView& view, int pressX, int pressY, int x,
                               int y, double pw, double ph);

// The auto-repeat of a navigation button: each report carries the milliseconds since the
// previous one (or the press), so the amounts add up to the time the button was held.
class NavigationRepeat {
public:
    static constexpr int kTimerId = 17;
    static constexpr int kTimerPeriod = 50;

    void press(std::uint32_t now);
    // Milliseconds since the last report; 0 when not pressed. The clock may wrap.
    std::uint32_t tick(std::uint32_t now);
    std::uint32_t release(std::uint32_t now);
    bool pressed() const { return m_pressed; }

private:
    bool m_pressed = false;
    std::uint32_t m_last = 0;
};

} // namespace morvessan
