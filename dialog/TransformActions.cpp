// Step sizes of the transformation controls, as pure functions of their inputs.
#include "dialog/TransformActions.h"

namespace morvessan {

namespace {

using Kind = TransformAction::Kind;

} // namespace

TransformAction navigationAction(NavigationButton button, double t, bool fine) {
    const double move = fine ? t * (1.0 / 200) : t * (1.0 / 20);
    const double step = fine ? t * 0.1 : t;
    switch (button) {
    case NavigationButton::MoveLeft: return {Kind::Move, -move, 0.0};
    case NavigationButton::MoveRight: return {Kind::Move, move, 0.0};
    case NavigationButton::MoveUp: return {Kind::Move, 0.0, -move};
    case NavigationButton::MoveDown: return {Kind::Move, 0.0, move};
    case NavigationButton::ZoomIn: return {Kind::Scale, step, step};
    case NavigationButton::ZoomOut: return {Kind::Scale, -step, -step};
    case NavigationButton::SquashHorizontally: return {Kind::Scale, -step, 0.0};
    case NavigationButton::SpreadHorizontally: return {Kind::Scale, step, 0.0};
    case NavigationButton::SquashVertically: return {Kind::Scale, 0.0, -step};
    case NavigationButton::SpreadVertically: return {Kind::Scale, 0.0, step};
    case NavigationButton::RotateLeft: return {Kind::Rotate, -step, 0.0};
    case NavigationButton::RotateRight: return {Kind::Rotate, step, 0.0};
    case NavigationButton::Reset: return {Kind::Reset, 0.0, 0.0};
    }
    return {};
}

TransformAction wheelAction(int delta, bool shift, bool ctrl, bool alt) {
    const double d = alt ? delta / 10 : delta;
    if (shift && !ctrl) {
        return {Kind::Rotate, d, 0.0};
    }
    if (shift && ctrl) {
        return {Kind::Scale, d, 0.0};
    }
    if (ctrl) {
        return {Kind::Scale, 0.0, d};
    }
    return {Kind::Scale, d, d};
}

TransformAction doubleClickAction(int width, int height, int x, int y) {
    return {Kind::Move, static_cast<double>(width / 2 - x), static_cast<double>(height / 2 - y)};
}

void applyAction(TextureTransform& m, const TransformView& view, const TransformAction& action, double pw, double ph) {
    switch (action.kind) {
    case Kind::None: break;
    case Kind::Move: moveTexture(m, view, action.a, action.b, pw, ph); break;
    case Kind::Scale: scaleTexture(m, view, action.a, action.b); break;
    case Kind::Rotate: rotateTexture(m, view, action.a); break;
    case Kind::Reset: resetTexture(m, view); break;
    }
}

TextureTransform dragTransform(const TextureTransform& saved, const TransformView& view, int pressX, int pressY, int x,
                               int y, double pw, double ph) {
    TextureTransform m = saved;
    moveTexture(m, view, static_cast<double>(x) - pressX, static_cast<double>(y) - pressY, pw, ph);
    return m;
}

void NavigationRepeat::press(std::uint32_t now) {
    m_pressed = true;
    m_last = now;
}

std::uint32_t NavigationRepeat::tick(std::uint32_t now) {
    if (!m_pressed) {
        return 0;
    }
    const std::uint32_t elapsed = now - m_last;
    m_last = now;
    return elapsed;
}

std::uint32_t NavigationRepeat::release(std::uint32_t now) {
    const std::uint32_t elapsed = tick(now);
    m_pressed = false;
    return elapsed;
}

} // namespace morvessan
