// The customise page's "Seamless" and "Show tiled" check boxes without their
// windows: the block's seamless byte, and the preview's 2 x 2 view of the tile.
#pragma once

#include "dialog/PSMorvessanChange.h"

#include <string>

namespace morvessan {

class PSMorvessanBlockSession;
class VXPSPreviewSession;

class PSMorvessanSeamlessModel {
public:
    static constexpr const char* kSeamlessTip =
        "The texture wraps across the filter area, so copies meet without a seam";

    PSMorvessanSeamlessModel(PSMorvessanBlockSession& block, VXPSPreviewSession& preview)
        : m_block(block), m_preview(preview) {}

    // Checked while the block asks for a tile its transformation allows.
    bool seamless() const;
    // Offered unless the transformation cannot tile (perspective), and then the
    // command line's sentence says why.
    bool seamlessEnabled() const { return refusal().empty(); }
    std::string refusal() const;
    // The tip over the box: what it does, or why it is off.
    std::string seamlessTip() const;
    unsigned setSeamless(bool on);

    // "Show tiled" is offered while the texture is seamless; turning the texture's
    // wrap off leaves the preview's plain view.
    bool showTiled() const;
    bool showTiledEnabled() const { return seamless(); }
    unsigned setShowTiled(bool on);

    // After an edit elsewhere (a preset, a transformation): the boxes reload and a
    // tiled view of a texture that no longer tiles goes back to the plain one.
    unsigned refresh();

private:
    PSMorvessanBlockSession& m_block;
    VXPSPreviewSession& m_preview;
};

} // namespace morvessan
