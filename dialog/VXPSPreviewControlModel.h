// The pointer behaviour of a preview control without its window: the pan cursor
// on a press, and a drag that scrolls the filter's preview rectangle with the pointer.
#pragma once

#include "dialog/PSMorvessanChange.h"
#include "dialog/VXPSPreviewGeometry.h"
#include "dialog/VXPSPreviewSession.h"

namespace morvessan {

// Notification codes a preview control sends its parent.
enum VXPSPreviewNotification : int {
    kPreviewDragStarted = 100,
    kPreviewDragged = 101,
    kPreviewDragEnded = 102,
    kPreviewPressed = 103,
};

class VXPSPreviewControlModel {
public:
    VXPSPreviewControlModel(VXPSPreviewSession& preview, int kind) : m_preview(preview), m_kind(kind) {}
    virtual ~VXPSPreviewControlModel() = default;
    VXPSPreviewControlModel(const VXPSPreviewControlModel&) = delete;
    VXPSPreviewControlModel& operator=(const VXPSPreviewControlModel&) = delete;

    // Size of the control's client area.
    void setClientSize(int width, int height);
    int clientWidth() const { return m_client_width; }
    int clientHeight() const { return m_client_height; }

    // The proxy this control shows (null when there is none yet).
    VXImage2* image() const;
    // Where image() is drawn in the client area; the whole client area without an image.
    PixelRect placement() const;

    // Left button down at (x, y): the filter's pan cursor.
    void press(int x, int y);
    // The pointer moved far enough with the button held: a drag begins.
    virtual void beginDrag();
    // A move during the drag; returns what to repaint or render.
    virtual unsigned drag(int x, int y);
    // Left button up: the arrow cursor again; the drag, if any, ends.
    virtual void release();
    bool dragging() const { return m_dragging; }

protected:
    VXPSPreviewSession& preview() const { return m_preview; }
    int pressX() const { return m_press_x; }
    int pressY() const { return m_press_y; }
    void setDragging(bool dragging) { m_dragging = dragging; }

private:
    VXPSPreviewSession& m_preview;
    int m_kind;
    int m_client_width = 0;
    int m_client_height = 0;
    int m_press_x = 0;
    int m_press_y = 0;
    bool m_dragging = false;
    VXPSRect m_press_rect;
};

} // namespace morvessan
