// Conversions between the host's 16-bit top-left-bottom-right rectangles and the
// driver's 32-bit left-top-right-bottom ones.
#pragma once

#include "plugin/HostInterface.h"
#include "renderer/PixelBlock.h"

#include <algorithm>

namespace morvessan {

inline int16 toHostCoordinate(std::int32_t value) {
    return static_cast<int16>(std::clamp<std::int32_t>(value, -32768, 32767));
}

inline Rect toHostRect(const VXPSRect& r) {
    return Rect{toHostCoordinate(r.top), toHostCoordinate(r.left), toHostCoordinate(r.bottom),
                toHostCoordinate(r.right)};
}

inline VXPSRect fromHostRect(const Rect& r) { return VXPSRect{r.left, r.top, r.right, r.bottom}; }

inline bool isEmptyHostRect(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

} // namespace morvessan
