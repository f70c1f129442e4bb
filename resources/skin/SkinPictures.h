// The pictures the dialogs dress themselves in: the skin background and its
// overlay, the pan cursor and the small icon, drawn alike on every build.
#pragma once

#include "VXLib/VXImage2.h"

namespace morvessan {

inline constexpr int kSkinWidth = 497;
inline constexpr int kSkinHeight = 569;
// The overlay draws only in this many rows at the top; the dialog's controls sit below.
inline constexpr int kSkinBandHeight = 72;

// 24 bits, top-down: a soft grey-blue cloud with a thin dark frame.
VXImage2 makeSkinBackground();

// 32 bits with alpha, top-down: the logo and the product's lines of text in the top
// band, fully transparent everywhere else.
VXImage2 makeSkinOverlay();

// `background` (24 bits) with `overlay` (32 bits with alpha) blended over it channel by
// channel as (alpha × overlay + background × (255 − alpha)) / 255, as the dialogs compose
// their skin; over the overlapping width and height. Empty for other depths.
VXImage2 composeSkin(const VXImage2& background, const VXImage2& overlay);

// 32 × 32, 32 bits with alpha: a four-way arrow whose centre is pixel (16, 16).
VXImage2 makePanCursor();
inline constexpr int kPanCursorHotspot = 16;

// `size` × `size` (16 or 32 as icons go), 32 bits with alpha: the logo alone.
VXImage2 makeLogoIcon(int size);

} // namespace morvessan
