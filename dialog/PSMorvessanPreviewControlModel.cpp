// Transformation edits from the pointer in the "Preview Image", applied to the
// parameter block about the centre of the previewed area.
#include "dialog/PSMorvessanPreviewControlModel.h"

#include "VXLib/VXUTIL/VXPlatform.h"
#include "dialog/PSMorvessanBlockSession.h"
#include "texture/FilterParameters.h"

namespace morvessan {

PSMorvessanPreviewControlModel::PSMorvessanPreviewControlModel(PSMorvessanBlockSession& block,
                                                               VXPSPreviewSession& preview)
    : VXPSPreviewControlModel(preview, kPreviewOutput), m_block(block) {}

TextureTransform* PSMorvessanPreviewControlModel::transform() const {
    FilterParameters* block = m_block.GetParameters();
    return block ? &block->texture.transformation : nullptr;
}

TransformView PSMorvessanPreviewControlModel::view() const {
    return viewFromRectangles(preview().GetPreviewRect(), preview().GetFilterRect());
}

void PSMorvessanPreviewControlModel::beginDrag() {
    setDragging(true);
    if (const TextureTransform* m = transform()) {
        m_saved = *m;
    }
}

unsigned PSMorvessanPreviewControlModel::drag(int x, int y) {
    TextureTransform* m = transform();
    if (!dragging() || !m) {
        return kChangeNothing;
    }
    const PixelRect shown = placement();
    *m = dragTransform(m_saved, view(), pressX(), pressY(), x, y, shown.width(), shown.height());
    return kChangePreview;
}

unsigned PSMorvessanPreviewControlModel::doubleClick(int x, int y) {
    return apply(doubleClickAction(clientWidth(), clientHeight(), x, y));
}

unsigned PSMorvessanPreviewControlModel::wheel(int delta) {
    VXPlatform& platform = vxPlatform();
    return apply(wheelAction(delta, platform.isKeyDown(VXKey::Shift), platform.isKeyDown(VXKey::Control),
                             platform.isKeyDown(VXKey::Alt)));
}

unsigned PSMorvessanPreviewControlModel::apply(const TransformAction& action) {
    TextureTransform* m = transform();
    if (!m || action.kind == TransformAction::Kind::None) {
        return kChangeNothing;
    }
    const PixelRect shown = placement();
    applyAction(*m, view(), action, shown.width(), shown.height());
    return kChangePreview;
}

} // namespace morvessan
