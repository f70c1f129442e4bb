// One text per transformation button.
#include "dialog/PSMorvessanNavigationTips.h"

namespace morvessan {

const char* navigationTip(NavigationButton button) {
    switch (button) {
    case NavigationButton::MoveLeft: return "Move Texture Left";
    case NavigationButton::MoveRight: return "Move Texture Right";
    case NavigationButton::MoveUp: return "Move Texture Up";
    case NavigationButton::MoveDown: return "Move Texture Down";
    case NavigationButton::ZoomIn: return "Zoom In to the Texture";
    case NavigationButton::ZoomOut: return "Zoom Out from the Texture";
    case NavigationButton::SquashHorizontally: return "Squash the Texture Horizontally";
    case NavigationButton::SpreadHorizontally: return "Spread the Texture Horizontally";
    case NavigationButton::SquashVertically: return "Squash the Texture Vertically";
    case NavigationButton::SpreadVertically: return "Spread the Texture Vertically";
    case NavigationButton::RotateLeft: return "Rotate Texture Left";
    case NavigationButton::RotateRight: return "Rotate Texture Right";
    case NavigationButton::Reset: return "Reset the Texture Transformation";
    }
    return "";
}

} // namespace morvessan
