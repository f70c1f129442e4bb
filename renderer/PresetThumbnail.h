// A preset drawn small: the texture over a checkerboard in a screen image, for
// the dialogs' preset previews and the command line's sheets.
#pragma once

#include "renderer/PixelBlock.h"

namespace morvessan {

class MersenneTwister;
class VXImage2;
struct TexturePreset;

// Draws `preset` over a checkerboard of 10-pixel squares into a 24-bit image,
// as it would look over `filterRect` (an empty rectangle: the unit square at
// the image's size); grain draws come from `random`. False, with the image
// untouched, when it is not a 24-bit image with pixels.
bool renderPresetThumbnail(const TexturePreset& preset, const VXPSRect& filterRect, MersenneTwister& random,
                           VXImage2& image);

} // namespace morvessan
