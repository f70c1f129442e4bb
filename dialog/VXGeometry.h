// Plain window geometry shared by the dialog models and the Win32 windows:
// a rectangle in screen or client pixels and a size, both fixed-width.
#pragma once

#include "texture/PixelRect.h"

#include <cstdint>

namespace morvessan {

// Window rectangles are the plug-in's one pixel rectangle (right and bottom
// exclusive, as in a Win32 RECT).
using VXRectI = PixelRect;

struct VXSizeI {
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const VXSizeI&) const = default;
};

} // namespace morvessan
