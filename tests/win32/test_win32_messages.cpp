// Message boxes of the Win32 platform layer: every button set answers with the
// button pressed (on a virtual display), and without a display the safe answer.
#include <gtest/gtest.h>

#if defined(_WIN32)

#include "VXLib/VXUTIL/win32/VXWin32Platform.h"

#include <windows.h>

#include <cstdlib>
#include <thread>

using namespace morvessan;

namespace {

bool haveDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

// Shows a box and presses `button` in it from another thread, as a user would.
VXMessageAnswer press(VXMessageButtons buttons, VXMessageIcon icon, int button, bool& found) {
    const char* caption = "Morvessan Message Test";
    found = false;
    std::thread user([&] {
        for (int i = 0; i < 500; ++i) {
            if (HWND box = FindWindowA(nullptr, caption)) {
                found = true;
                PostMessageA(box, WM_COMMAND, button, 0);
                return;
            }
            Sleep(10);
        }
    });
    const VXMessageAnswer answer = VXWin32Platform().messageBox("Delete the preset?", caption, buttons, icon);
    user.join();
    return answer;
}

} // namespace

TEST(Win32Messages, EveryButtonSetAnswersWithThePressedButton) {
    if (!haveDisplay()) {
        GTEST_SKIP() << "needs a display: run by the win32_messages test under Xvfb";
    }
    struct Case {
        VXMessageButtons buttons;
        VXMessageIcon icon;
        int pressed;
        VXMessageAnswer expected;
    };
    const Case cases[] = {
        {VXMessageButtons::Ok, VXMessageIcon::Information, IDOK, VXMessageAnswer::Ok},
        {VXMessageButtons::OkCancel, VXMessageIcon::Warning, IDCANCEL, VXMessageAnswer::Cancel},
        {VXMessageButtons::YesNo, VXMessageIcon::Question, IDNO, VXMessageAnswer::No},
        {VXMessageButtons::YesNoCancel, VXMessageIcon::Question, IDYES, VXMessageAnswer::Yes},
        {VXMessageButtons::YesNoCancel, VXMessageIcon::None, IDCANCEL, VXMessageAnswer::Cancel},
        {VXMessageButtons::RetryCancel, VXMessageIcon::Error, IDRETRY, VXMessageAnswer::Retry},
    };
    for (const Case& c : cases) {
        bool found = false;
        EXPECT_EQ(press(c.buttons, c.icon, c.pressed, found), c.expected) << "button " << c.pressed;
        EXPECT_TRUE(found);
    }
}

TEST(Win32Messages, WithoutADisplayTheAnswerIsCancel) {
    if (haveDisplay()) {
        GTEST_SKIP() << "a display is present";
    }
    EXPECT_EQ(VXWin32Platform().messageBox("Overwrite?", "Morvessan", VXMessageButtons::YesNo, VXMessageIcon::Question),
              VXMessageAnswer::Cancel);
}

#else

TEST(Win32Messages, WindowsOnly) {
    GTEST_SKIP() << "Win32 message boxes exist only in the Windows build (win64 preset, run under Wine)";
}

#endif
