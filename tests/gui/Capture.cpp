// Captures through a screen blit into a DIB section.
#include "tests/gui/Capture.h"

#include "VXLib/VXImageWriter.h"

#include <cstdlib>
#include <cstring>

namespace morvessan {

void pumpFor(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

VXImage2 captureWindow(HWND window, bool whole) {
    RECT rect{};
    POINT origin{0, 0};
    if (whole) {
        GetWindowRect(window, &rect);
        origin = POINT{rect.left, rect.top};
        OffsetRect(&rect, -rect.left, -rect.top);
    } else {
        GetClientRect(window, &rect);
        ClientToScreen(window, &origin);
    }
    VXImage2 image;
    const int width = rect.right;
    const int height = rect.bottom;
    if (width <= 0 || height <= 0 || !image.createDIBSection(width, height, 24, nullptr, true)) {
        return image;
    }
    HDC screen = GetDC(nullptr);
    BitBlt(static_cast<HDC>(image.deviceContext()), 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    return image;
}

std::uint32_t capturedColour(const VXImage2& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

void saveCapture(const VXImage2& image, const std::string& name) {
    const char* folder = std::getenv("MORVESSAN_CAPTURE_DIR");
    std::string path = folder && *folder ? std::string(folder) + "\\" : std::string();
    path += std::to_string(screenDpi()) + "dpi-" + name + ".png";
    // The writer takes a plain buffer: copy the section's pixels into one.
    VXImage2 copy;
    if (copy.create(image.width(), image.height(), 24)) {
        for (int y = 0; y < image.height(); ++y) {
            std::memcpy(copy.row(y), image.row(y), static_cast<std::size_t>(image.width()) * 3);
        }
        saveImageFile(path, copy);
    }
}

RECT rectIn(HWND window, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

} // namespace morvessan
