// The tooltips of the main dialog's transformation buttons: what each button
// does to the texture, in words.
#pragma once

#include "dialog/TransformActions.h"

namespace morvessan {

// The tooltip of `button`; empty for a value outside the enumeration.
const char* navigationTip(NavigationButton button);

} // namespace morvessan
