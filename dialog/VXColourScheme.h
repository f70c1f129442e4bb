// The ten named colours every plug-in dialog and its custom controls draw with,
// and the two default sets: one for dialogs, one for list controls.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace morvessan {

enum class VXColourRole : int {
    Face,
    Highlight,
    Light,
    Shadow,
    DarkShadow,
    Text,
    GreyText,
    SelectedText,
    Selected,
    Background
};
inline constexpr int kColourRoleCount = 10;

struct VXColourScheme {
    std::array<std::uint32_t, kColourRoleCount> m_colours{}; // COLORREF order, red in the low byte

    std::uint32_t operator[](VXColourRole role) const { return m_colours[static_cast<std::size_t>(role)]; }
    std::uint32_t& operator[](VXColourRole role) { return m_colours[static_cast<std::size_t>(role)]; }

    static VXColourScheme dialogDefaults();
    // The dialog set with the face colour as item background, so list items blend
    // into the dialog.
    static VXColourScheme listBoxDefaults();

    bool operator==(const VXColourScheme&) const = default;
};

} // namespace morvessan
