// Plain window geometry shared by the dialog models and the Win32 windows:
// a rectangle in screen or client pixels and a size, both fixed-width.
#pragma once

#include <cstdint>

namespace morvessan {

// Right and bottom are exclusive, as in a Win32 RECT.
struct VXRectI {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    bool operator==(const VXRectI&) const = default;
};

struct VXSizeI {
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const VXSizeI&) const = default;
};

} // namespace morvessan
