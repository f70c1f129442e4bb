// The two default colour sets of the plug-in dialogs: a soft grey-blue face with
// black text, white item backgrounds in dialogs and face-coloured ones in lists.
#include "dialog/VXColourScheme.h"

namespace morvessan {

VXColourScheme VXColourScheme::dialogDefaults() {
    VXColourScheme scheme;
    scheme.m_colours = {
        0xCFCEC9u, // Face
        0xF6F5F0u, // Highlight
        0xE7E6D9u, // Light
        0xA5A392u, // Shadow
        0x848072u, // DarkShadow
        0x000000u, // Text
        0x808080u, // GreyText
        0x000000u, // SelectedText
        0xB2B0A8u, // Selected
        0xFFFFFFu, // Background
    };
    return scheme;
}

VXColourScheme VXColourScheme::listBoxDefaults() {
    VXColourScheme scheme = dialogDefaults();
    scheme[VXColourRole::Background] = 0xCFCEC9u;
    return scheme;
}

} // namespace morvessan
