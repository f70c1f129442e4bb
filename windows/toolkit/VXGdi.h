// RAII owners for GDI objects and device contexts, and the memory context that
// double-buffers painting so nothing flickers while a preview is dragged.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace morvessan {

// Owns one GDI object (pen, brush, font, bitmap, region) and deletes it.
template <typename Handle>
class VXGdiObject {
public:
    VXGdiObject() = default;
    explicit VXGdiObject(Handle handle) : m_handle(handle) {}
    ~VXGdiObject() { reset(); }
    VXGdiObject(VXGdiObject&& other) noexcept : m_handle(other.release()) {}
    VXGdiObject& operator=(VXGdiObject&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    VXGdiObject(const VXGdiObject&) = delete;
    VXGdiObject& operator=(const VXGdiObject&) = delete;

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    Handle release() {
        Handle handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    void reset(Handle handle = nullptr) {
        if (m_handle) {
            DeleteObject(m_handle);
        }
        m_handle = handle;
    }

private:
    Handle m_handle = nullptr;
};

using VXPen = VXGdiObject<HPEN>;
using VXBrush = VXGdiObject<HBRUSH>;
using VXFont = VXGdiObject<HFONT>;
using VXBitmap = VXGdiObject<HBITMAP>;
using VXRegion = VXGdiObject<HRGN>;

// Selects an object into a context for the lifetime of this value.
class VXSelectObject {
public:
    VXSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
    ~VXSelectObject() { SelectObject(m_dc, m_old); }
    VXSelectObject(const VXSelectObject&) = delete;
    VXSelectObject& operator=(const VXSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// BeginPaint / EndPaint.
class VXPaintDC {
public:
    explicit VXPaintDC(HWND window) : m_window(window) { m_dc = BeginPaint(window, &m_paint); }
    ~VXPaintDC() { EndPaint(m_window, &m_paint); }
    VXPaintDC(const VXPaintDC&) = delete;
    VXPaintDC& operator=(const VXPaintDC&) = delete;
    HDC get() const { return m_dc; }
    const RECT& area() const { return m_paint.rcPaint; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc = nullptr;
};

// GetDC / ReleaseDC.
class VXClientDC {
public:
    explicit VXClientDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~VXClientDC() { ReleaseDC(m_window, m_dc); }
    VXClientDC(const VXClientDC&) = delete;
    VXClientDC& operator=(const VXClientDC&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// An off-screen copy of `rect` of `target`: draw into get() with the target's
// coordinates; the destructor copies the result to the target in one blit.
class VXMemoryDC {
public:
    VXMemoryDC(HDC target, const RECT& rect);
    ~VXMemoryDC();
    VXMemoryDC(const VXMemoryDC&) = delete;
    VXMemoryDC& operator=(const VXMemoryDC&) = delete;
    HDC get() const { return m_dc; }

private:
    HDC m_target;
    RECT m_rect;
    HDC m_dc;
    VXBitmap m_bitmap;
    HGDIOBJ m_old = nullptr;
};

class VXImage2;

// Drawing helpers shared by the controls.
// Stretches a whole packed image (8 to 32 bits, either row order) over `destination`.
void vxStretchImage(HDC dc, const RECT& destination, const VXImage2& image);
void vxFillRect(HDC dc, const RECT& rect, COLORREF colour);
void vxFrameRect(HDC dc, const RECT& rect, COLORREF colour);
// A raised (or sunken) edge of two lines in the scheme's light and shadow colours.
void vxDrawEdge(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
// The dialog's font as the control's parent set it, or the default GUI font.
HFONT vxWindowFont(HWND window);
// Height in pixels of "T" in `font`: what list captions need below a thumbnail.
int vxTextHeight(HDC dc, HFONT font);

} // namespace morvessan
