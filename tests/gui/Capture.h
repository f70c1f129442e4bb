// Window captures for the window tests: the client area as the screen shows
// it, read back as a picture and saved as PNG for people to look at.
#pragma once

#include "VXLib/VXImage2.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace morvessan {

// Lets every waiting message run (painting included), for about `ms` milliseconds.
void pumpFor(int ms);
// The client area of `window` (whole window when `whole`), 24 bits, top-down.
VXImage2 captureWindow(HWND window, bool whole = false);
// 0x00BBGGRR of a captured pixel.
std::uint32_t capturedColour(const VXImage2& image, int x, int y);
// Saves into the folder of MORVESSAN_CAPTURE_DIR (the working folder otherwise),
// the name prefixed with the DPI the test runs at.
void saveCapture(const VXImage2& image, const std::string& name);
// Rectangle of `control` in the client coordinates of `window`.
RECT rectIn(HWND window, HWND control);
int screenDpi();

} // namespace morvessan
