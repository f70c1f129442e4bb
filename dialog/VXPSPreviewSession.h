// VXPSPreviewSession: what the preview controls, the locator and the zoom ratio
// see of a filter: its proxies, preview rectangle, zoom and pan cursor.
#pragma once

#include "VXLib/VXUTIL/VXPlatform.h"
#include "renderer/PixelBlock.h"

#include <cstdint>

namespace morvessan {

class VXImage2;

// A cursor as the platform shows it.
struct VXPSCursor {
    VXCursorKind kind = VXCursorKind::SizeAll;
    int resourceId = 0;
};

class VXPSPreviewSession {
public:
    virtual ~VXPSPreviewSession() = default;

    // Proxies: null until built. The display image is the shaded proxy when the
    // host has a selection, else the source proxy.
    virtual VXImage2* GetSourceImage() = 0;
    virtual VXImage2* GetDisplayImage() = 0;
    virtual VXImage2* GetOutputImage() = 0;
    virtual VXImage2* GetOverviewImage() = 0;
    // Renders the output proxy anew; makes the overview proxy at a size.
    virtual void BuildOutputImage() = 0;
    virtual void BuildOverviewImage(std::int32_t width, std::int32_t height) = 0;

    // The proxies' size in screen pixels, and the image area they show.
    virtual void SetPreviewSize(std::int32_t width, std::int32_t height) = 0;
    virtual std::int32_t GetPreviewWidth() const = 0;
    virtual std::int32_t GetPreviewHeight() const = 0;
    virtual const VXPSRect& GetPreviewRect() const = 0;
    virtual const VXPSRect& GetFilterRect() const = 0;
    // Moving the preview rectangle rebuilds every proxy; a scroll fetches only
    // what came into view.
    virtual void SetPreviewRect(const VXPSRect& rect) = 0;
    virtual void ScrollPreview(std::int32_t dx, std::int32_t dy) = 0;

    // Zoom levels: z > 0 shows one of every z image pixels, z <= 0 enlarges.
    virtual std::int32_t GetZoom() const = 0;
    virtual bool CanZoomIn() const = 0;
    virtual bool CanZoomOut() const = 0;
    virtual void ZoomIn() = 0;
    virtual void ZoomOut() = 0;

    // "Show tiled": the output proxy shows the whole filter rectangle's result as
    // 2 x 2 copies side by side, so that a tile's wrap shows where the copies meet.
    virtual void SetTiledView(bool on) = 0;
    virtual bool GetTiledView() const = 0;

    // The cursor a press on a preview shows while it pans.
    virtual VXPSCursor GetPanCursor() = 0;

protected:
    VXPSPreviewSession() = default;
    VXPSPreviewSession(const VXPSPreviewSession&) = default;
    VXPSPreviewSession& operator=(const VXPSPreviewSession&) = default;
};

} // namespace morvessan
