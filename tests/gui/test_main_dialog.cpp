// The filter's main dialog where a user meets it: the module loaded through its
// PiPL by a host, PluginMain called for an interactive run, the dialog driven
// with window messages from a second thread, as a user's clicks would arrive.
#include "VXLib/VXImageWriter.h"
#include "host/FilterHost.h"
#include "host/win32/VXPSModule.h"
#include "resources/dialogs/DialogIds.h"
#include "tests/gui/Capture.h"
#include "tests/gui/WindowSearch.h"
#include "texture/FilterParameters.h"
#include "texture/PatternSpace.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

using namespace morvessan;

namespace {

const bool g_dpi_aware = SetProcessDPIAware() != FALSE;

HostImage gradientImage(std::int32_t width, std::int32_t height) {
    HostImage image(width, height, 3);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            for (std::int32_t p = 0; p < 3; ++p) {
                image.pixel(x, y)[p] = static_cast<std::uint8_t>(x * 2 + y + p * 60);
            }
        }
    }
    return image;
}

// The main dialog: a top-level "Morvessan" window holding the "Original Image".
HWND findMainDialog() {
    for (int i = 0; i < 3000; ++i) {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, nullptr, "Morvessan")) != nullptr) {
            if (GetDlgItem(window, IDC_ORIGINAL_IMAGE) && IsWindowVisible(window)) {
                return window;
            }
        }
        Sleep(10);
    }
    return nullptr;
}

void click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

void chooseInCombo(HWND combo, int index) {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void selectTab(HWND tabs, int index) {
    SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NMHDR header{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(GetParent(tabs), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

class MainDialog : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("MORVESSAN_MODULE");
        if (!GetEnvironmentVariableA("DISPLAY", nullptr, 0) || !path) {
            GTEST_SKIP() << "needs a display and MORVESSAN_MODULE: run by the gui tests under Xvfb";
        }
        std::string error;
        m_module = VXPSModule::load(path, error);
        ASSERT_TRUE(m_module) << error;
    }

    // Loads another copy of the module (the one named by `variable`) instead.
    void useModule(const char* variable) {
        const char* path = std::getenv(variable);
        ASSERT_NE(path, nullptr) << variable;
        m_module.reset();
        std::string error;
        m_module = VXPSModule::load(path, error);
        ASSERT_TRUE(m_module) << error;
    }

    // An interactive run on `host` while `user` drives the dialog; the run's result.
    int16 runWithUser(FilterHost& host, const std::function<void(HWND)>& user) {
        bool found = false;
        std::thread thread([&] {
            HWND dialog = findMainDialog();
            found = dialog != nullptr;
            if (dialog) {
                Sleep(200);
                user(dialog);
            }
        });
        host.setPlayInfo(plugInDialogDisplay);
        const int16 result = host.run();
        thread.join();
        EXPECT_TRUE(found) << "the dialog did not open";
        return result;
    }

    std::unique_ptr<VXPSModule> m_module;
};

} // namespace

TEST_F(MainDialog, EditsChangeThePreviewAndOkRendersWhatASilentRunWithTheBlockRenders) {
    FilterHost host(m_module->entry());
    const HostImage original = gradientImage(400, 300);
    host.setImage(original);
    std::string ratio;
    bool woodHidesBands = false;
    bool previewChanged = false;
    bool presetApplied = false;
    const int16 result = runWithUser(host, [&](HWND dialog) {
        ratio = windowText(GetDlgItem(dialog, IDC_ZOOM_RATIO));
        // Choosing the second preset of the list renders it into the preview.
        const VXImage2 first = captureWindow(GetDlgItem(dialog, IDC_PREVIEW_IMAGE));
        HWND presets = findControl(dialog, IDC_PRESET_LIST);
        SendMessageA(presets, WM_KEYDOWN, VK_RIGHT, 0);
        SendMessageA(presets, WM_KEYDOWN, VK_RIGHT, 0);
        Sleep(500);
        const VXImage2 before = captureWindow(GetDlgItem(dialog, IDC_PREVIEW_IMAGE));
        presetApplied = SendMessageA(presets, WM_USER + 2, 0, 0) == 1 &&
                        capturedColour(first, first.width() / 2, first.height() / 2) !=
                            capturedColour(before, before.width() / 2, before.height() / 2);
        saveCapture(captureWindow(dialog), "main-presets");

        click(GetDlgItem(dialog, IDC_SWITCH_PAGE));
        Sleep(200);
        EXPECT_EQ(windowText(GetDlgItem(dialog, IDC_SWITCH_PAGE)), "Presets   <<");
        chooseInCombo(findControl(dialog, IDC_TYPE), 3);
        woodHidesBands = IsWindowVisible(findControl(dialog, IDC_GRAIN)) && !findControl(dialog, IDC_BANDS) &&
                         !findControl(dialog, IDC_SPECTRUM);
        Sleep(200);
        saveCapture(captureWindow(dialog), "main-elements-wood");

        // Opacity by the keyboard, a transformation button held, a drag in the preview.
        HWND opacity = GetDlgItem(dialog, IDC_OPACITY);
        SendMessageA(opacity, WM_KEYDOWN, VK_LEFT, 0);
        SendMessageA(opacity, WM_KEYUP, VK_LEFT, 0);
        HWND moveRight = GetDlgItem(dialog, IDC_MOVE_RIGHT);
        SendMessageA(moveRight, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        Sleep(120);
        SendMessageA(moveRight, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        HWND preview = GetDlgItem(dialog, IDC_PREVIEW_IMAGE);
        SendMessageA(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 60));
        SendMessageA(preview, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(75, 64));
        SendMessageA(preview, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(95, 70));
        SendMessageA(preview, WM_LBUTTONUP, 0, MAKELPARAM(95, 70));
        Sleep(500);
        const VXImage2 after = captureWindow(preview);
        for (int y = 0; y < after.height() && !previewChanged; y += 3) {
            for (int x = 0; x < after.width() && !previewChanged; x += 3) {
                previewChanged = capturedColour(before, x, y) != capturedColour(after, x, y);
            }
        }

        HWND tabs = findControl(dialog, IDC_TABS);
        selectTab(tabs, 1);
        Sleep(100);
        saveCapture(captureWindow(dialog), "main-colours");
        selectTab(tabs, 2);
        Sleep(300);
        saveCapture(captureWindow(dialog), "main-effects");
        selectTab(tabs, 0);
        click(GetDlgItem(dialog, IDOK));
    });
    EXPECT_EQ(result, noErr);
    EXPECT_EQ(ratio.rfind("1:", 0), 0u) << ratio; // the picture is larger than the preview: reduced
    EXPECT_TRUE(presetApplied);
    EXPECT_TRUE(woodHidesBands);
    EXPECT_TRUE(previewChanged);
    EXPECT_FALSE(host.image() == original);
    const std::vector<std::uint8_t> block = host.parameterBytes();
    ASSERT_EQ(block.size(), 832u);
    EXPECT_EQ(block[0], 4) << "the type is Wood";

    // A silent run with the block the dialog left gives the same pixels and block.
    FilterHost silent(m_module->entry());
    silent.setImage(original);
    silent.setParameterBytes(block);
    silent.setPlayInfo(plugInDialogSilent);
    ASSERT_EQ(silent.run(), noErr);
    EXPECT_TRUE(silent.image() == host.image()) << "OK rendered other pixels than the block describes";
    EXPECT_EQ(silent.parameterBytes(), block);
}

TEST_F(MainDialog, CancelKeepsTheImageAndTheEditsInTheBlock) {
    FilterHost host(m_module->entry());
    const HostImage original = gradientImage(240, 180);
    host.setImage(original);
    ASSERT_EQ(runWithUser(host, [](HWND dialog) { click(GetDlgItem(dialog, IDOK)); }), noErr);
    const std::vector<std::uint8_t> first = host.parameterBytes();
    host.setImage(original);
    const int16 result = runWithUser(host, [](HWND dialog) {
        click(GetDlgItem(dialog, IDC_SCALE_BY_SOURCE));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_OVERWRITE_SOURCE)));
        click(GetDlgItem(dialog, IDC_RESET));
        click(GetDlgItem(dialog, IDCANCEL));
    });
    EXPECT_EQ(result, userCanceledErr);
    EXPECT_TRUE(host.image() == original);
    EXPECT_NE(host.parameterBytes(), first) << "the edit stays in the block after Cancel";
}

TEST_F(MainDialog, TheTextureScanShowsItsProgressAndCanBeCancelled) {
    useModule("MORVESSAN_BUSY_MODULE");
    FilterHost host(m_module->entry());
    host.setImage(gradientImage(200, 150));
    bool progressSeen = false;
    bool dialogDisabled = false;
    int items = -1;
    bool dialogEnabledAfter = false;
    runWithUser(host, [&](HWND dialog) {
        click(GetDlgItem(dialog, IDC_SWITCH_PAGE));
        // The tab is chosen by a posted notification, so this thread is free to press Cancel.
        static NMHDR header{};
        HWND tabs = findControl(dialog, IDC_TABS);
        header = NMHDR{tabs, static_cast<UINT_PTR>(IDC_TABS), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(tabs, TCM_SETCURSEL, 2, 0);
        PostMessageA(GetParent(tabs), WM_NOTIFY, IDC_TABS, reinterpret_cast<LPARAM>(&header));
        HWND progress = nullptr;
        for (int i = 0; i < 5000 && !progress; ++i) {
            progress = FindWindowA(nullptr, "Loading Textures...");
            Sleep(2);
        }
        progressSeen = progress != nullptr;
        if (progress) {
            dialogDisabled = !IsWindowEnabled(dialog);
            PostMessageA(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        for (int i = 0; i < 3000 && FindWindowA(nullptr, "Loading Textures..."); ++i) {
            Sleep(10);
        }
        Sleep(200);
        dialogEnabledAfter = IsWindowEnabled(dialog) != FALSE;
        HWND list = findControl(dialog, IDC_TEXTURES);
        items = list ? static_cast<int>(SendMessageA(list, WM_USER + 1, 0, 0)) : -1; // the grid's item count
        click(GetDlgItem(dialog, IDCANCEL));
    });
    EXPECT_TRUE(progressSeen);
    EXPECT_TRUE(dialogDisabled) << "the dialog takes no input while the progress window is up";
    EXPECT_TRUE(dialogEnabledAfter);
    EXPECT_GE(items, 0);
    EXPECT_LT(items, 120) << "the scan stopped at the cancel";
}

TEST_F(MainDialog, TheLocatorMovesThePreviewToWhereItIsReleased) {
    FilterHost host(m_module->entry());
    host.setImage(gradientImage(900, 700));
    bool locatorEnabled = false;
    bool popupSeen = false;
    bool originalChanged = false;
    runWithUser(host, [&](HWND dialog) {
        click(GetDlgItem(dialog, IDC_ZOOM_IN));
        click(GetDlgItem(dialog, IDC_ZOOM_IN));
        Sleep(100);
        HWND locator = GetDlgItem(dialog, IDC_LOCATOR);
        locatorEnabled = IsWindowEnabled(locator) != FALSE;
        HWND original = GetDlgItem(dialog, IDC_ORIGINAL_IMAGE);
        const VXImage2 before = captureWindow(original);
        PostMessageA(locator, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        HWND popup = nullptr;
        for (int i = 0; i < 2000 && !popup; ++i) {
            popup = FindWindowA(nullptr, "Preview Locator");
            Sleep(5);
        }
        popupSeen = popup != nullptr;
        if (popup) {
            Sleep(100);
            saveCapture(captureWindow(popup, true), "main-locator");
            // Far past the bottom-right corner: the rectangle stops at the edges.
            PostMessageA(popup, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2000, 2000));
            PostMessageA(popup, WM_LBUTTONUP, 0, MAKELPARAM(2000, 2000));
        }
        Sleep(600);
        const VXImage2 after = captureWindow(original);
        for (int y = 0; y < after.height() && !originalChanged; y += 4) {
            for (int x = 0; x < after.width() && !originalChanged; x += 4) {
                originalChanged = capturedColour(before, x, y) != capturedColour(after, x, y);
            }
        }
        click(GetDlgItem(dialog, IDCANCEL));
    });
    EXPECT_TRUE(locatorEnabled);
    EXPECT_TRUE(popupSeen);
    EXPECT_TRUE(originalChanged) << "the original image shows the part the locator chose";
}

TEST_F(MainDialog, EditWritesOnOkAndNothingOnCancel) {
    const char* program = std::getenv("MORVESSAN_CLI");
    ASSERT_NE(program, nullptr);
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string input = std::string(folder) + "morvessan-edit-in.bmp";
    const std::string output = std::string(folder) + "morvessan-edit-out.png";
    VXImage2 picture;
    ASSERT_TRUE(picture.create(64, 48, 24));
    ASSERT_TRUE(saveImageFile(input, picture));
    const auto edit = [&](int button) {
        DeleteFileA(output.c_str());
        std::string command = "\"" + std::string(program) + "\" edit --quiet \"" + input + "\" \"" + output + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        // Under Wine a program now and then fails to start at all: it gets two more tries.
        bool started = false;
        for (int attempt = 0; attempt < 3 && !started; ++attempt) {
            started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                     &process) != FALSE;
            if (!started) {
                Sleep(500);
            }
        }
        if (!started) {
            return -1;
        }
        if (HWND dialog = findMainDialog()) {
            Sleep(200);
            click(GetDlgItem(dialog, button));
        }
        WaitForSingleObject(process.hProcess, 60000);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return static_cast<int>(code);
    };
    EXPECT_EQ(edit(IDCANCEL), 3);
    EXPECT_EQ(GetFileAttributesA(output.c_str()), INVALID_FILE_ATTRIBUTES) << "Cancel writes nothing";
    EXPECT_EQ(edit(IDOK), 0);
    EXPECT_NE(GetFileAttributesA(output.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(input.c_str());
    DeleteFileA(output.c_str());
}

TEST_F(MainDialog, TheDropperTakesTheColourUnderItFromThePreview) {
    FilterHost host(m_module->entry());
    host.setImage(gradientImage(200, 150));
    std::uint32_t underPointer = 0;
    std::uint32_t wellAfter = 1;
    runWithUser(host, [&](HWND dialog) {
        click(GetDlgItem(dialog, IDC_SWITCH_PAGE));
        selectTab(findControl(dialog, IDC_TABS), 1);
        Sleep(300);
        HWND original = GetDlgItem(dialog, IDC_ORIGINAL_IMAGE);
        RECT area{};
        GetWindowRect(original, &area);
        const POINT centre{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
        const VXImage2 shown = captureWindow(original);
        underPointer = capturedColour(shown, shown.width() / 2, shown.height() / 2);
        HWND dropper = findControl(dialog, IDC_DROPPER);
        SendMessageA(dropper, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SetCursorPos(centre.x, centre.y);
        SendMessageA(dropper, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageA(dropper, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        Sleep(300);
        const VXImage2 well = captureWindow(findControl(dialog, IDC_STOP_COLOUR));
        wellAfter = capturedColour(well, well.width() / 2, well.height() / 2);
        click(GetDlgItem(dialog, IDCANCEL));
    });
    EXPECT_EQ(wellAfter, underPointer);
}

TEST_F(MainDialog, SeamlessIsTickedOnTheCustomisePageAndOkDrawsTheTile) {
    FilterHost host(m_module->entry());
    const HostImage original = gradientImage(300, 200);
    host.setImage(original);
    bool tiledOfferedOnlyWhenSeamless = false;
    bool ticked = false;
    bool tiledShown = false;
    bool previewChanged = false;
    const int16 result = runWithUser(host, [&](HWND dialog) {
        click(GetDlgItem(dialog, IDC_SWITCH_PAGE));
        Sleep(200);
        HWND seamless = findControl(dialog, IDC_SEAMLESS);
        HWND tiled = findControl(dialog, IDC_SHOW_TILED);
        if (!seamless || !tiled) {
            click(GetDlgItem(dialog, IDCANCEL));
            return;
        }
        tiledOfferedOnlyWhenSeamless = !IsWindowEnabled(tiled);
        click(seamless);
        Sleep(300);
        ticked = SendMessageA(seamless, BM_GETCHECK, 0, 0) == BST_CHECKED;
        tiledOfferedOnlyWhenSeamless = tiledOfferedOnlyWhenSeamless && IsWindowEnabled(tiled);
        HWND preview = GetDlgItem(dialog, IDC_PREVIEW_IMAGE);
        const VXImage2 before = captureWindow(preview);
        click(tiled);
        Sleep(400);
        tiledShown = SendMessageA(tiled, BM_GETCHECK, 0, 0) == BST_CHECKED;
        const VXImage2 after = captureWindow(preview);
        for (int y = 0; y < after.height() && !previewChanged; y += 3) {
            for (int x = 0; x < after.width() && !previewChanged; x += 3) {
                previewChanged = capturedColour(before, x, y) != capturedColour(after, x, y);
            }
        }
        saveCapture(captureWindow(dialog), "main-seamless");
        click(GetDlgItem(dialog, IDOK));
    });
    EXPECT_EQ(result, noErr);
    EXPECT_TRUE(tiledOfferedOnlyWhenSeamless);
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(tiledShown);
    EXPECT_TRUE(previewChanged) << "the 2 x 2 view looks like the plain one";
    const std::vector<std::uint8_t> block = host.parameterBytes();
    ASSERT_EQ(block.size(), 832u);
    EXPECT_EQ(block[824], 1) << "the seamless byte";

    // The tile is the one the command line's --tileable draws for the same block.
    std::vector<std::uint8_t> plainBlock = block;
    plainBlock[824] = 0;
    FilterHost tileable(m_module->entry());
    tileable.setImage(original);
    tileable.setParameterBytes(plainBlock);
    tileable.setPlayInfo(plugInDialogSilent);
    PatternSpace tile;
    tile.tileable = true;
    tileable.setComplexProperty(kPatternSpaceSignature, kPatternSpaceKey, encodePatternSpace(tile));
    ASSERT_EQ(tileable.run(), noErr);
    EXPECT_TRUE(tileable.image() == host.image()) << "the dialog's tile differs from --tileable's";

    // OK recorded the settings for an action; replayed on a host with another block,
    // silently, they draw the same picture.
    ASSERT_TRUE(host.recordedDescriptor());
    FilterHost replay(m_module->entry());
    replay.setImage(original);
    replay.setParameterBytes(plainBlock);
    replay.setDescriptor(*host.recordedDescriptor());
    replay.setPlayInfo(plugInDialogDontDisplay);
    ASSERT_EQ(replay.run(), noErr);
    EXPECT_TRUE(replay.image() == host.image()) << "the replayed action drew another picture";
    EXPECT_EQ(replay.parameterBytes()[824], 1);
}

TEST_F(MainDialog, PerspectiveTurnsSeamlessOffWithTheCommandLinesReason) {
    // A block in perspective that asks for the tile: the box is off and greyed out.
    FilterParameters block{};
    writeDefaultParameters(block);
    block.texture.transformation.m[7] = 0.5;
    block.seamless = 1;
    std::vector<std::uint8_t> bytes(sizeof block);
    std::memcpy(bytes.data(), &block, sizeof block);
    FilterHost host(m_module->entry());
    host.setImage(gradientImage(200, 150));
    host.setParameterBytes(bytes);
    bool found = false;
    bool greyed = false;
    bool unticked = false;
    bool tiledGreyed = false;
    const int16 result = runWithUser(host, [&](HWND dialog) {
        click(GetDlgItem(dialog, IDC_SWITCH_PAGE));
        Sleep(200);
        HWND seamless = findControl(dialog, IDC_SEAMLESS);
        HWND tiled = findControl(dialog, IDC_SHOW_TILED);
        found = seamless && tiled;
        if (found) {
            greyed = !IsWindowEnabled(seamless);
            unticked = SendMessageA(seamless, BM_GETCHECK, 0, 0) == BST_UNCHECKED;
            tiledGreyed = !IsWindowEnabled(tiled);
            saveCapture(captureWindow(dialog), "main-seamless-perspective");
        }
        click(GetDlgItem(dialog, IDCANCEL));
    });
    EXPECT_EQ(result, userCanceledErr);
    ASSERT_TRUE(found);
    EXPECT_TRUE(greyed);
    EXPECT_TRUE(unticked);
    EXPECT_TRUE(tiledGreyed);
    EXPECT_EQ(host.parameterBytes()[824], 1) << "the block keeps what it asked for";
}
