// The amounts of every control that edits the transformation: navigation
// buttons with fine steps, the wheel with its modifiers, drags, double clicks
// and the auto-repeat timing.
#include "dialog/TransformActions.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace morvessan;

namespace {

using Kind = TransformAction::Kind;

TEST(TransformActions, NavigationButtons) {
    struct Row {
        NavigationButton button;
        TransformAction normal;
        TransformAction fine;
    };
    const Row rows[] = {
        {NavigationButton::MoveLeft, {Kind::Move, -5.0, 0.0}, {Kind::Move, -0.5, 0.0}},
        {NavigationButton::MoveRight, {Kind::Move, 5.0, 0.0}, {Kind::Move, 0.5, 0.0}},
        {NavigationButton::MoveUp, {Kind::Move, 0.0, -5.0}, {Kind::Move, 0.0, -0.5}},
        {NavigationButton::MoveDown, {Kind::Move, 0.0, 5.0}, {Kind::Move, 0.0, 0.5}},
        {NavigationButton::ZoomIn, {Kind::Scale, 100.0, 100.0}, {Kind::Scale, 10.0, 10.0}},
        {NavigationButton::ZoomOut, {Kind::Scale, -100.0, -100.0}, {Kind::Scale, -10.0, -10.0}},
        {NavigationButton::SquashHorizontally, {Kind::Scale, -100.0, 0.0}, {Kind::Scale, -10.0, 0.0}},
        {NavigationButton::SpreadHorizontally, {Kind::Scale, 100.0, 0.0}, {Kind::Scale, 10.0, 0.0}},
        {NavigationButton::SquashVertically, {Kind::Scale, 0.0, -100.0}, {Kind::Scale, 0.0, -10.0}},
        {NavigationButton::SpreadVertically, {Kind::Scale, 0.0, 100.0}, {Kind::Scale, 0.0, 10.0}},
        {NavigationButton::RotateLeft, {Kind::Rotate, -100.0, 0.0}, {Kind::Rotate, -10.0, 0.0}},
        {NavigationButton::RotateRight, {Kind::Rotate, 100.0, 0.0}, {Kind::Rotate, 10.0, 0.0}},
        {NavigationButton::Reset, {Kind::Reset, 0.0, 0.0}, {Kind::Reset, 0.0, 0.0}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(navigationAction(r.button, 100.0, false), r.normal) << static_cast<int>(r.button);
        EXPECT_EQ(navigationAction(r.button, 100.0, true), r.fine) << static_cast<int>(r.button);
    }
    EXPECT_EQ(navigationAction(NavigationButton::MoveRight, 7.0, false).a, 7.0 * (1.0 / 20));
    EXPECT_EQ(navigationAction(NavigationButton::MoveRight, 7.0, true).a, 7.0 * (1.0 / 200));
}

TEST(TransformActions, WheelWithModifiers) {
    EXPECT_EQ(wheelAction(120, false, false, false), (TransformAction{Kind::Scale, 120.0, 120.0}));
    EXPECT_EQ(wheelAction(120, false, true, false), (TransformAction{Kind::Scale, 0.0, 120.0}));
    EXPECT_EQ(wheelAction(-120, true, true, false), (TransformAction{Kind::Scale, -120.0, 0.0}));
    EXPECT_EQ(wheelAction(240, true, false, false), (TransformAction{Kind::Rotate, 240.0, 0.0}));
    EXPECT_EQ(wheelAction(120, false, false, true), (TransformAction{Kind::Scale, 12.0, 12.0}));
    EXPECT_EQ(wheelAction(-125, true, false, true), (TransformAction{Kind::Rotate, -12.0, 0.0}));
    EXPECT_EQ(wheelAction(7, false, false, true), (TransformAction{Kind::Scale, 0.0, 0.0}));
}

TEST(TransformActions, DoubleClickBringsThePointToTheCentre) {
    EXPECT_EQ(doubleClickAction(201, 100, 40, 90), (TransformAction{Kind::Move, 60.0, -40.0}));
    // Through the matrix: the clicked point's texture point now lies under the centre.
    const TransformView view{};
    TextureTransform m = rotation(0.2);
    const TextureTransform before = m;
    applyAction(m, view, doubleClickAction(200, 100, 150, 20), 200.0, 100.0);
    double u0, v0, u1, v1;
    mapPoint(before, 150.0 / 200, 20.0 / 100, u0, v0);
    mapPoint(m, 0.5, 0.5, u1, v1);
    EXPECT_NEAR(u1, u0, 1e-15);
    EXPECT_NEAR(v1, v0, 1e-15);
}

TEST(TransformActions, DragStartsFromTheSavedMatrixEveryTime) {
    const TransformView view{0.0, 0.5, 0.0, 0.5};
    const TextureTransform saved = scaling(2.0, 2.0);
    TextureTransform direct = saved;
    moveTexture(direct, view, 30.0, -10.0, 100.0, 100.0);
    TextureTransform m = dragTransform(saved, view, 50, 50, 70, 45, 100.0, 100.0);
    m = dragTransform(saved, view, 50, 50, 80, 40, 100.0, 100.0);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(m.m[i], direct.m[i]);
    }
}

TEST(TransformActions, RepeatReportsAddUpToTheTimeHeld) {
    NavigationRepeat r;
    EXPECT_EQ(r.tick(500), 0u);
    r.press(1000);
    EXPECT_TRUE(r.pressed());
    std::uint32_t total = r.tick(1050);
    total += r.tick(1170);
    total += r.release(1181);
    EXPECT_EQ(total, 181u);
    EXPECT_FALSE(r.pressed());
    EXPECT_EQ(r.tick(2000), 0u);

    r.press(20); // a click shorter than one period still counts once
    EXPECT_EQ(r.release(43), 23u);
    r.press(0xFFFFFFF0u); // across the clock's wrap
    EXPECT_EQ(r.release(0x10u), 0x20u);
    EXPECT_EQ(NavigationRepeat::kTimerId, 17);
    EXPECT_EQ(NavigationRepeat::kTimerPeriod, 50);
}

} // namespace
