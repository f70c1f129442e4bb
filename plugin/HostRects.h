// Conversions between the host's top-left-bottom-right rectangles (16-bit, and the
// 32-bit ones of large documents) and the driver's left-top-right-bottom ones.
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

inline VRect toHostVRect(const VXPSRect& r) { return VRect{r.top, r.left, r.bottom, r.right}; }

inline VXPSRect fromHostRect(const Rect& r) { return VXPSRect{r.left, r.top, r.right, r.bottom}; }

inline VXPSRect fromHostRect(const VRect& r) { return VXPSRect{r.left, r.top, r.right, r.bottom}; }

inline bool isEmptyHostRect(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

inline bool isEmptyHostRect(const VRect& r) { return r.right <= r.left || r.bottom <= r.top; }

inline bool sameHostRect(const VRect& a, const VRect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

inline bool sameHostRect(const Rect& a, const Rect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

} // namespace morvessan
