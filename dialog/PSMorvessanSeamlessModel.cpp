// "Seamless" writes the block's byte and renders; "Show tiled" only changes what
// the preview shows, never the block.
#include "dialog/PSMorvessanSeamlessModel.h"

#include "dialog/PSMorvessanBlockSession.h"
#include "dialog/VXPSPreviewSession.h"
#include "texture/SeamlessTile.h"

namespace morvessan {

bool PSMorvessanSeamlessModel::seamless() const {
    const FilterParameters* block = m_block.GetParameters();
    return block && seamlessAsked(*block) && seamlessEnabled();
}

std::string PSMorvessanSeamlessModel::refusal() const {
    const FilterParameters* block = m_block.GetParameters();
    return block ? seamlessRefusal(block->texture.transformation) : std::string();
}

std::string PSMorvessanSeamlessModel::seamlessTip() const {
    const std::string why = refusal();
    return why.empty() ? std::string(kSeamlessTip) : why;
}

unsigned PSMorvessanSeamlessModel::setSeamless(bool on) {
    FilterParameters* block = m_block.GetParameters();
    if (!block || (on && !seamlessEnabled())) {
        return kChangeFields;
    }
    if (seamlessAsked(*block) == on) {
        return kChangeNothing;
    }
    morvessan::setSeamless(*block, on);
    if (!on && m_preview.GetTiledView()) {
        m_preview.SetTiledView(false);
    }
    return kChangePreview | kChangeFields | kChangeEnabledStates;
}

bool PSMorvessanSeamlessModel::showTiled() const { return m_preview.GetTiledView(); }

unsigned PSMorvessanSeamlessModel::setShowTiled(bool on) {
    if (on && !showTiledEnabled()) {
        return kChangeFields;
    }
    if (on == m_preview.GetTiledView()) {
        return kChangeNothing;
    }
    m_preview.SetTiledView(on);
    return kChangeOutputPreview | kChangeFields;
}

unsigned PSMorvessanSeamlessModel::refresh() {
    if (m_preview.GetTiledView() && !seamless()) {
        m_preview.SetTiledView(false);
        return kChangeOutputPreview | kChangeFields | kChangeEnabledStates;
    }
    return kChangeFields | kChangeEnabledStates;
}

} // namespace morvessan
