// The toolkit's windows on a real (virtual) display: the gallery driven by
// window messages, the colour picker with its registry settings, the progress window.
#include "VXLib/VXUTIL/VXPlatform.h"
#include "dialog/VXSkin.h"
#include "windows/dialogs/VXPSColourDialog.h"
#include "windows/dialogs/VXPSProgressDialog.h"
#include "tests/gui/Capture.h"
#include "tests/gui/Gallery.h"
#include "tests/gui/GalleryIds.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>

using namespace morvessan;

namespace {

// Sizes follow the screen's DPI as a DPI-aware host's do.
const bool g_dpi_aware = SetProcessDPIAware() != FALSE;

constexpr const char* kPickerKey = "Software\\Quellory\\Artisory\\ColourDialog";

HWND waitForWindow(const char* caption) {
    for (int i = 0; i < 500; ++i) {
        if (HWND window = FindWindowA(nullptr, caption)) {
            return window;
        }
        Sleep(10);
    }
    return nullptr;
}

void setDword(const char* name, DWORD value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kPickerKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

std::optional<DWORD> getDword(const char* name) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, kPickerKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

class ToolkitWindows : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GetEnvironmentVariableA("DISPLAY", nullptr, 0)) {
            GTEST_SKIP() << "needs a display: run by the gui tests under Xvfb";
        }
    }
};

} // namespace

TEST_F(ToolkitWindows, GalleryDrawsTheSkinAndEveryControlWithTheScheme) {
    Gallery gallery;
    ASSERT_TRUE(gallery.create(nullptr));
    HWND window = gallery.hwnd();
    SetWindowPos(window, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    pumpFor(400);
    const VXImage2 capture = captureWindow(window);
    saveCapture(capture, "gallery");
    ASSERT_NE(gallery.skin(), nullptr) << "the skin pictures are resources of the program";

    // Where no control lies the window shows the composed skin at that offset.
    const RECT check = rectIn(window, gallery.item(IDC_G_CHECK));
    const int sx = 4;
    const int sy = check.bottom + 30;
    EXPECT_EQ(capturedColour(capture, sx, sy), gallery.skin()->pixel(sx, sy) & 0xFFFFFF);

    // A colour well shows its colour; a disabled button's caption is drawn in GreyText.
    const RECT well = rectIn(window, gallery.m_well.hwnd());
    EXPECT_EQ(capturedColour(capture, (well.left + well.right) / 2, (well.top + well.bottom) / 2), 0x3060C0u);
    const RECT off = rectIn(window, gallery.item(IDC_G_BUTTON_OFF));
    int grey = 0;
    for (int y = off.top; y < off.bottom; ++y) {
        for (int x = off.left; x < off.right; ++x) {
            grey += capturedColour(capture, x, y) == gallery.colours()[VXColourRole::GreyText] ? 1 : 0;
        }
    }
    EXPECT_GT(grey, 5);

    // A caption too long for its cell ends in "..." and has a tooltip; a short one neither.
    EXPECT_EQ(gallery.m_images.shownCaption(0), "Canvas");
    const std::string cut = gallery.m_images.shownCaption(1);
    EXPECT_GE(cut.size(), 4u);
    EXPECT_EQ(cut.substr(cut.size() - 3), "...");

    // Keys and mouse reach the controls: the slider steps by 0.1, the edit box refuses
    // garbage, the spin steps by one, the image list follows the arrow keys.
    HWND slider = gallery.item(IDC_G_SLIDER);
    SendMessageA(slider, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageA(slider, WM_KEYUP, VK_RIGHT, 0);
    pumpFor(50);
    EXPECT_DOUBLE_EQ(gallery.m_slider.value(), 12.6);
    char text[32] = {};
    GetDlgItemTextA(window, IDC_G_SLIDER_EDIT, text, sizeof(text));
    EXPECT_STREQ(text, "12.6");
    HWND number = gallery.item(IDC_G_NUMBER);
    SetFocus(number);
    SetWindowTextA(number, "12x");
    SetFocus(slider);
    pumpFor(50);
    GetWindowTextA(number, text, sizeof(text));
    EXPECT_STREQ(text, "42");
    EXPECT_DOUBLE_EQ(gallery.m_number.value(), 42.0);
    SetFocus(number);
    SendMessageA(number, WM_KEYDOWN, VK_UP, 0);
    EXPECT_DOUBLE_EQ(gallery.m_number.value(), 43.0);
    SetFocus(gallery.m_images.hwnd());
    SendMessageA(gallery.m_images.hwnd(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(gallery.m_images.selected(), 1);

    // Pressing on the gradient's second marker selects it and tells the dialog.
    const RECT strip = gallery.m_gradient.clientRect();
    const int markerX = strip.right * gallery.m_gradient.stops().position(1) / 255;
    const int markerY = stripHeight(strip.bottom) + 3;
    SendMessageA(gallery.m_gradient.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(markerX, markerY));
    SendMessageA(gallery.m_gradient.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(markerX, markerY));
    EXPECT_EQ(gallery.m_gradient.stops().selected(), 1);
    EXPECT_GE(gallery.m_gradient_notes, 1);
    pumpFor(100);
    saveCapture(captureWindow(window), "gallery-driven");
    gallery.destroy();
}

TEST_F(ToolkitWindows, ColourPickerReadsAndWritesItsSettingsAndPlacesItself) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kPickerKey);
    setDword("CustomColour0", 0x0000FF);
    setDword("CustomColour1", 0x00FF00);
    setDword("WindowLeft", 40);
    setDword("WindowTop", 30);
    setDword("WindowRight", 60); // smaller than the picker: it grows to its natural size
    setDword("WindowBottom", 50);
    setDword("ColorStyle", 0);

    std::atomic<bool> checked{false};
    RECT placed{};
    std::thread user([&] {
        HWND picker = waitForWindow("Colour Picker");
        if (!picker) {
            return;
        }
        // The picker places itself after it shows; a loaded machine may take a while.
        for (int i = 0; i < 60; ++i) {
            Sleep(50);
            GetWindowRect(picker, &placed);
            if (placed.left == 40 && placed.top == 30) {
                break;
            }
        }
        Sleep(300); // its controls paint after it is placed
        saveCapture(captureWindow(picker, true), "colour-picker");
        // Basic colour 10 (row 1, column 3), then Add Custom fills the first white slot (2).
        HWND well = GetDlgItem(picker, 3201 + 10);
        PostMessageA(well, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        PostMessageA(picker, WM_COMMAND, MAKEWPARAM(3286, BN_CLICKED), 0);
        Sleep(200);
        checked = true;
        PostMessageA(picker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    std::uint32_t colour = 0x123456;
    const bool chosen = VXPSColourDialog::pickColour(nullptr, colour);
    user.join();
    ASSERT_TRUE(checked);
    EXPECT_TRUE(chosen);
    EXPECT_EQ(colour, basicColour(10));
    EXPECT_EQ(placed.left, 40);
    EXPECT_EQ(placed.top, 30);
    EXPECT_GT(placed.right - placed.left, 200);
    EXPECT_EQ(getDword("CustomColour0"), 0x0000FFu);
    EXPECT_EQ(getDword("CustomColour2"), basicColour(10));
    EXPECT_EQ(getDword("CustomColour20"), 0xFFFFFFu);
    EXPECT_EQ(getDword("WindowLeft"), 40u);
    EXPECT_EQ(getDword("ColorStyle"), 0u);
}

TEST_F(ToolkitWindows, ProgressWindowTakesItsPositionAtCreationAndCancels) {
    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                                 nullptr, nullptr, nullptr);
    SetActiveWindow(owner);
    pumpFor(100);
    {
        VXPSProgressDialog progress("Loading Textures...");
        progress.SetRange(0, 10);
        progress.SetPosition(7);
        ASSERT_TRUE(progress.Create());
        EXPECT_EQ(SendMessageA(progress.item(VXPSProgressDialog::kBarId), PBM_GETPOS, 0, 0), 7);
        EXPECT_FALSE(IsWindowEnabled(owner));
        char title[64] = {};
        GetWindowTextA(progress.hwnd(), title, sizeof(title));
        EXPECT_STREQ(title, "Loading Textures...");
        saveCapture(captureWindow(progress.hwnd(), true), "progress");
        EXPECT_TRUE(progress.Pump());
        PostMessageA(progress.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EXPECT_FALSE(progress.Pump());
        EXPECT_TRUE(progress.IsCancelled());
        EXPECT_EQ(progress.hwnd(), nullptr);
    }
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}
