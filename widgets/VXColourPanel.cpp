// The colour panel and slider: a cached picture of the colours under each
// point, a marker at the current colour, and picking by pointer and keys.
#include "widgets/VXColourPanel.h"

#include "ui/win32/VXGdi.h"

#include <windowsx.h>

#include <algorithm>

namespace morvessan {

void VXColourPanel::setStyle(int style) {
    m_axes = colourAxes(style);
    refresh(true);
}

void VXColourPanel::refresh(bool full) {
    if (full) {
        m_stale = true;
    }
    repaint();
}

RECT VXColourPanel::inner() const {
    const RECT client = clientRect();
    return RECT{client.left + 2, client.top + 2, client.right - 2, client.bottom - 2};
}

void VXColourPanel::renderPicture(int width, int height) {
    m_picture_width = width;
    m_picture_height = height;
    const int stride = (width * 3 + 3) & ~3;
    m_pixels.assign(static_cast<std::size_t>(stride) * height, 0);
    const int sliderValue = channelValue(m_model, m_axes.slider);
    const int xValue = channelValue(m_model, m_axes.x);
    const int yValue = channelValue(m_model, m_axes.y);
    const int sliderMax = channelMaximum(m_axes.slider);
    const int xMax = channelMaximum(m_axes.x);
    const int yMax = channelMaximum(m_axes.y);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            std::uint32_t colour = 0;
            if (m_is_slider) {
                const int v = height > 1 ? (height - 1 - row) * sliderMax / (height - 1) : 0;
                colour = colourAtAxes(m_axes, v, xValue, yValue);
            } else {
                const int x = width > 1 ? column * xMax / (width - 1) : 0;
                const int y = height > 1 ? (height - 1 - row) * yMax / (height - 1) : 0;
                colour = colourAtAxes(m_axes, sliderValue, x, y);
            }
            std::uint8_t* p = &m_pixels[static_cast<std::size_t>(row) * stride + column * 3];
            p[0] = static_cast<std::uint8_t>(colour >> 16);
            p[1] = static_cast<std::uint8_t>(colour >> 8);
            p[2] = static_cast<std::uint8_t>(colour);
        }
    }
    m_stale = false;
}

void VXColourPanel::draw(HDC dc, const RECT& client) {
    const RECT area = inner();
    const int width = std::max<int>(area.right - area.left, 1);
    const int height = std::max<int>(area.bottom - area.top, 1);
    if (m_stale || width != m_picture_width || height != m_picture_height) {
        renderPicture(width, height);
    }
    vxFillRect(dc, client, m_scheme[VXColourRole::Face]);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    SetDIBitsToDevice(dc, area.left, area.top, width, height, 0, 0, 0, height, m_pixels.data(), &info, DIB_RGB_COLORS);
    vxDrawEdge(dc, RECT{area.left - 1, area.top - 1, area.right + 1, area.bottom + 1}, m_scheme[VXColourRole::Shadow],
               m_scheme[VXColourRole::Highlight]);
    // The marker: a line across the slider, a small ring in the panel, drawn inverted to show on any colour.
    const int previousMode = SetROP2(dc, R2_NOT);
    VXSelectObject brush(dc, GetStockObject(NULL_BRUSH));
    if (m_is_slider) {
        const int v = channelValue(m_model, m_axes.slider);
        const int y = area.bottom - 1 - v * (height - 1) / channelMaximum(m_axes.slider);
        Rectangle(dc, area.left - 2, y - 2, area.right + 2, y + 3);
    } else {
        const int x = area.left + channelValue(m_model, m_axes.x) * (width - 1) / channelMaximum(m_axes.x);
        const int y = area.bottom - 1 - channelValue(m_model, m_axes.y) * (height - 1) / channelMaximum(m_axes.y);
        Ellipse(dc, x - 5, y - 5, x + 6, y + 6);
    }
    SetROP2(dc, previousMode);
    if (GetFocus() == m_hwnd) {
        DrawFocusRect(dc, &client);
    }
}

void VXColourPanel::pick(int x, int y) {
    const RECT area = inner();
    const int width = std::max<int>(area.right - area.left - 1, 1);
    const int height = std::max<int>(area.bottom - area.top - 1, 1);
    const int cx = std::clamp<int>(x - area.left, 0, width);
    const int cy = std::clamp<int>(area.bottom - 1 - y, 0, height);
    if (m_is_slider) {
        setChannelValue(m_model, m_axes.slider, cy * channelMaximum(m_axes.slider) / height);
    } else {
        // Both axes at once, so that the second does not undo the first through a rounding trip.
        const std::uint32_t colour =
            colourAtAxes(m_axes, channelValue(m_model, m_axes.slider), cx * channelMaximum(m_axes.x) / width,
                         cy * channelMaximum(m_axes.y) / height);
        if (m_axes.slider == VXColourChannel::Red || m_axes.slider == VXColourChannel::Green ||
            m_axes.slider == VXColourChannel::Blue) {
            m_model.setColour(colour);
        } else {
            setChannelValue(m_model, m_axes.x, cx * channelMaximum(m_axes.x) / width);
            setChannelValue(m_model, m_axes.y, cy * channelMaximum(m_axes.y) / height);
        }
    }
    notifyParent(kChanged);
}

LRESULT VXColourPanel::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        SetFocus(m_hwnd);
        SetCapture(m_hwnd);
        pick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == m_hwnd) {
            pick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == m_hwnd) {
            ReleaseCapture();
        }
        return 0;
    case WM_KEYDOWN: {
        const int dx = wParam == VK_LEFT ? -1 : wParam == VK_RIGHT ? 1 : 0;
        const int dy = wParam == VK_DOWN ? -1 : wParam == VK_UP ? 1 : 0;
        if (dx == 0 && dy == 0) {
            break;
        }
        if (m_is_slider) {
            setChannelValue(m_model, m_axes.slider, channelValue(m_model, m_axes.slider) + dy + dx);
        } else {
            if (dx != 0) {
                setChannelValue(m_model, m_axes.x, channelValue(m_model, m_axes.x) + dx);
            }
            if (dy != 0) {
                setChannelValue(m_model, m_axes.y, channelValue(m_model, m_axes.y) + dy);
            }
        }
        notifyParent(kChanged);
        return 0;
    }
    default: break;
    }
    return VXCustomControl::onMessage(message, wParam, lParam);
}

} // namespace morvessan
