// The preview locator without its popup: the locator rectangle in image and
// popup client coordinates, its re-centring on the pointer, kept inside the filter rectangle.
#pragma once

#include "renderer/PixelBlock.h"
#include "texture/PixelRect.h"

namespace morvessan {

class VXPSPreviewSession;

// Image to client coordinates through the filter rectangle `filter`:
// client x = (image x - F.left) x client width / F width + client left; likewise y.
PixelRect locatorToClient(const VXPSRect& image, const VXPSRect& filter, const PixelRect& client);
// Client to image: image x = F.left + (client x - client left) x F width / client width.
VXPSRect locatorToImage(const PixelRect& rect, const VXPSRect& filter, const PixelRect& client);

// Moves an image rectangle back inside `filter`: shifted left when its right edge is
// beyond F, up when its bottom is, right when its left is before F, down when its
// top is; then its right and bottom are cut back to F.
VXPSRect keepInsideFilter(VXPSRect rect, const VXPSRect& filter);

// The state of an open locator popup.
class VXPSLocatorModel {
public:
    explicit VXPSLocatorModel(VXPSPreviewSession& preview) : m_preview(preview) {}

    // The popup opens over a client area of clientWidth x clientHeight (the size of
    // the overview proxy) with the filter's preview rectangle.
    void open(int clientWidth, int clientHeight);
    // The same with a filter rectangle and a preview rectangle of one's own.
    void open(const VXPSRect& filterRect, const VXPSRect& previewRect, int clientWidth, int clientHeight);
    // Where the pointer is put on opening: the centre of the client rectangle.
    int pointerX() const { return (m_client_rect.left + m_client_rect.right) / 2; }
    int pointerY() const { return (m_client_rect.top + m_client_rect.bottom) / 2; }

    // A pointer move: the rectangle keeps its client size and is centred on the
    // pointer, kept inside the filter rectangle.
    void move(int x, int y);
    // The release: one more move, then the filter's preview rectangle is set
    // (rebuilding every proxy); returns what to repaint.
    unsigned release(int x, int y);

    const PixelRect& clientRect() const { return m_client_rect; }
    const VXPSRect& imageRect() const { return m_image_rect; }
    const PixelRect& client() const { return m_client; }

private:
    VXPSPreviewSession& m_preview;
    VXPSRect m_filter_rect;
    PixelRect m_client;
    PixelRect m_client_rect;
    VXPSRect m_image_rect;
    int m_width = 0;
    int m_height = 0;
};

} // namespace morvessan
