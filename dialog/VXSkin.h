// The dialog skin: a background picture recoloured to the colour scheme under an
// optional alpha overlay, and the tiles that paint it over any rectangle.
#pragma once

#include "VXLib/VXImage2.h"
#include "dialog/VXColourScheme.h"
#include "texture/PixelRect.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace morvessan {

using VXSkinRamp = std::array<std::uint32_t, 256>; // COLORREF per 8-bit value

// The scheme's four shades spread over 256 entries: DarkShadow at 0, Shadow at
// 85, Face at 170 and Highlight at 255, linear with integer division in
// between.
VXSkinRamp skinRamp(const VXColourScheme& scheme);

// The composed background, 24 bits and top-down, or null when there is no
// picture or its depth is neither 8 (recoloured through the ramp) nor 24 bits
// (copied). `overlay` may be null; it is blended only when it is 32-bit with
// alpha.
std::unique_ptr<VXImage2> composeSkin(const VXImage2* background, const VXImage2* overlay,
                                      const VXColourScheme& scheme);

// One tile: the visible part of the destination, and where in the picture it
// starts.
struct VXSkinTile {
    int x, y, width, height, sourceX, sourceY;
    bool operator==(const VXSkinTile&) const = default;
};

// Tiles covering `rect` (right and bottom exclusive) with a picture of
// tileWidth × tileHeight shifted by the offset (reduced with %, so negative
// offsets stay negative), row by row. A positive reduced offset starts one tile
// earlier so no strip is left uncovered. An empty picture or rectangle gives no
// tiles.
std::vector<VXSkinTile> skinTiles(const PixelRect& rect, int offsetX, int offsetY, int tileWidth, int tileHeight);

} // namespace morvessan
