// The "Preview Image" control without its window: a drag, a double click and the
// wheel edit the texture transformation in the parameter block.
#pragma once

#include "dialog/VXPSPreviewControlModel.h"
#include "dialog/TransformActions.h"

namespace morvessan {

class PSMorvessanBlockSession;

class PSMorvessanPreviewControlModel : public VXPSPreviewControlModel {
public:
    PSMorvessanPreviewControlModel(PSMorvessanBlockSession& block, VXPSPreviewSession& preview);

    // The drag moves the texture from where it was at the drag's start.
    void beginDrag() override;
    unsigned drag(int x, int y) override;

    // The clicked point's pattern comes to the middle of the client area.
    unsigned doubleClick(int x, int y);
    // One wheel report (120 per notch), with the modifier keys held now.
    unsigned wheel(int delta);
    // Applies one edit about the centre of the previewed area; kChangePreview.
    unsigned apply(const TransformAction& action);

    // The previewed part of the filter rectangle, in its unit square.
    TransformView view() const;

private:
    TextureTransform* transform() const;

    PSMorvessanBlockSession& m_block;
    TextureTransform m_saved;
};

} // namespace morvessan
