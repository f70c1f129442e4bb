// Preview pointer handling: pan cursor, and the "Original Image" drag that moves
// the preview rectangle so the picture follows the pointer.
#include "dialog/VXPSPreviewControlModel.h"

#include "VXLib/VXImage2.h"
#include "VXLib/VXUTIL/VXPlatform.h"

namespace morvessan {

void VXPSPreviewControlModel::setClientSize(int width, int height) {
    m_client_width = width;
    m_client_height = height;
}

VXImage2* VXPSPreviewControlModel::image() const {
    switch (m_kind) {
    case kPreviewDisplay: return m_preview.GetDisplayImage();
    case kPreviewOutput: return m_preview.GetOutputImage();
    default: return m_preview.GetSourceImage();
    }
}

PixelRect VXPSPreviewControlModel::placement() const {
    const VXImage2* shown = image();
    if (!shown || shown->isEmpty()) {
        return {0, 0, m_client_width, m_client_height};
    }
    return previewPlacement(shown->width(), shown->rows(), m_client_width, m_client_height, m_preview.CanZoomOut());
}

void VXPSPreviewControlModel::press(int x, int y) {
    m_press_x = x;
    m_press_y = y;
    const VXPSCursor cursor = m_preview.GetPanCursor();
    vxPlatform().showCursor(cursor.kind, cursor.resourceId);
}

void VXPSPreviewControlModel::beginDrag() {
    m_dragging = true;
    m_press_rect = m_preview.GetPreviewRect();
}

unsigned VXPSPreviewControlModel::drag(int x, int y) {
    if (!m_dragging) {
        return kChangeNothing;
    }
    const VXPSPanTarget target =
        panTarget(m_press_rect, m_press_x, m_press_y, x, y, m_preview.GetPreviewWidth(), m_preview.GetPreviewHeight());
    const VXPSRect& now = m_preview.GetPreviewRect();
    const std::int32_t dx = target.left - now.left;
    const std::int32_t dy = target.top - now.top;
    if (dx == 0 && dy == 0) {
        return kChangeNothing;
    }
    // Scrolling updates the output proxy with the source, so both only need painting.
    m_preview.ScrollPreview(dx, dy);
    return kChangeSourcePreview | kChangeOutputPreview;
}

void VXPSPreviewControlModel::release() {
    m_dragging = false;
    vxPlatform().showCursor(VXCursorKind::Arrow);
}

} // namespace morvessan
