// The Win32 platform layer under Windows (Wine in CI): the module's own path
// from inside a library, registry settings and their types, Simple MAPI and the
// help viewer loaded at run time, the clock, cursors, the environment and the shell.
#include <gtest/gtest.h>

#if defined(_WIN32)

#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/win32/VXWin32Platform.h"

#include <windows.h>

#include <memory>

using namespace morvessan;

namespace {

const char kHelper[] = "win32_helper.dll";
const char kTestKey[] = "Software\\Quellory\\Artisory\\MorvessanTest";

struct LibraryCloser {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryCloser>;

template <typename Function>
Function function(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::string programPath() {
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, length);
}

class Win32Registry : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
};

} // namespace

TEST(Win32Platform, ModulePathIsTheLibrarysOwnNotTheProgramsAndIsNative) {
    EXPECT_TRUE(dynamic_cast<VXWin32Platform*>(&vxPlatform())) << "vxPlatform() is not the Win32 layer";
    EXPECT_TRUE(equalsIgnoreCase(VXWin32Platform().modulePath(), programPath()));

    Library helper(LoadLibraryA(kHelper));
    ASSERT_TRUE(helper) << "cannot load " << kHelper;
    const auto modulePath = function<void (*)(char*, unsigned)>(helper.get(), "helperModulePath");
    ASSERT_TRUE(modulePath);
    char buffer[1024];
    modulePath(buffer, sizeof buffer);
    EXPECT_TRUE(equalsIgnoreCase(fileNameOf(buffer), kHelper)) << buffer;
    EXPECT_TRUE(equalsIgnoreCase(folderOf(buffer), folderOf(programPath()))) << buffer;
}

TEST_F(Win32Registry, SettingsRoundTripAsNumbersAndBinaryValues) {
    VXWin32Platform platform;
    EXPECT_FALSE(platform.readSetting(kTestKey, "CustomColour0")); // no key yet

    ASSERT_TRUE(platform.writeSetting(kTestKey, "CustomColour0", {0x78, 0x56, 0x34, 0x12}));
    ASSERT_TRUE(platform.writeSetting(kTestKey, "Blob", {1, 2, 3}));
    EXPECT_EQ(platform.readSetting(kTestKey, "CustomColour0"), (std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(platform.readSetting(kTestKey, "Blob"), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(platform.readSetting(kTestKey, "WindowLeft"));

    // Four-byte values are registry numbers (type 4), as other programs read them.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0, value = 0, size = sizeof value;
    EXPECT_EQ(RegQueryValueExA(key, "CustomColour0", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_DWORD));
    EXPECT_EQ(value, 0x12345678u);
    // A value of another type is ignored, as if absent.
    const char text[] = "12";
    RegSetValueExA(key, "ColorStyle", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegCloseKey(key);
    EXPECT_FALSE(platform.readSetting(kTestKey, "ColorStyle"));
}

TEST(Win32Platform, MailGoesThroughTheLibraryLoadedAtRunTime) {
    const VXMailRequest request{"SMTP: Submissions",
                                "SMTP:presets@example.org",
                                "Morvessan Preset Submission",
                                "",
                                "C:\\p\\Morvessan Presets\\Stone.txt",
                                "Stone.txt"};
    // No mail library, or one without MAPISendMail: result 2, nothing sent.
    EXPECT_EQ(VXWin32Platform({"hhctrl.ocx", "no-such-mapi-library"}).sendMail(request), 2u);
    EXPECT_EQ(VXWin32Platform({"hhctrl.ocx", "kernel32.dll"}).sendMail(request), 2u);

    Library helper(LoadLibraryA(kHelper)); // keeps the stand-in's record alive between loads
    ASSERT_TRUE(helper);
    VXWin32Platform platform({"hhctrl.ocx", kHelper});
    EXPECT_EQ(platform.sendMail(request), 17u);
    const auto lastRequest = function<const char* (*)()>(helper.get(), "helperLastRequest");
    EXPECT_STREQ(lastRequest(),
                 "session=0 parent=0 flags=8 reserved=0 subject=Morvessan Preset Submission note= recipients=1 files=1"
                 " to[class=1 name=SMTP: Submissions address=SMTP:presets@example.org entry=0]"
                 " file[flags=0 position=-1 path=C:\\p\\Morvessan Presets\\Stone.txt name=Stone.txt type=none]");
}

TEST(Win32Platform, HelpViewerIsLoadedAtRunTime) {
    EXPECT_FALSE(VXWin32Platform({"no-such-help-library", "MAPI32"}).showHelp("C:\\x\\XMorvessan.chm::/Welcome.htm"));
    Library helper(LoadLibraryA(kHelper));
    ASSERT_TRUE(helper);
    VXWin32Platform platform({kHelper, "MAPI32"});
    EXPECT_TRUE(platform.showHelp("C:\\x\\XMorvessan.chm::/Welcome.htm"));
    const auto lastRequest = function<const char* (*)()>(helper.get(), "helperLastRequest");
    EXPECT_STREQ(lastRequest(), "help C:\\x\\XMorvessan.chm::/Welcome.htm command=0 data=0");
}

TEST(Win32Platform, ClockCursorsKeysAndShell) {
    VXWin32Platform platform;
    const DWORD before = timeGetTime();
    const std::uint32_t now = platform.milliseconds();
    EXPECT_LE(now - before, 1000u); // the multimedia clock itself, modulo 2^32

    const VXCursorHandle saved = platform.currentCursor();
    platform.showCursor(VXCursorKind::Wait);
    EXPECT_EQ(platform.currentCursor(),
              reinterpret_cast<VXCursorHandle>(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514))));
    platform.showCursor(VXCursorKind::Arrow);
    EXPECT_EQ(platform.currentCursor(),
              reinterpret_cast<VXCursorHandle>(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))));
    platform.showCursor(VXCursorKind::Resource, 9005); // a program without the resource keeps its cursor
    EXPECT_EQ(platform.currentCursor(),
              reinterpret_cast<VXCursorHandle>(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))));
    platform.restoreCursor(saved);
    EXPECT_EQ(platform.currentCursor(), saved);

    EXPECT_FALSE(platform.isKeyDown(VXKey::Shift)); // nobody is at the keyboard of a test run

    // The shell's "open" reports failure for a document that is not there.
    EXPECT_FALSE(platform.openWebPage("C:\\no\\such\\folder\\morepresets.htm"));
}

TEST(Win32Platform, EnvironmentIsTheProcesssBlockNotTheRuntimesCopy) {
    VXWin32Platform platform;
    const std::string name = "MORVESSAN_TEST_WIN32_VARIABLE";
    // Longer than the first buffer the read tries.
    const std::string value = "C:\\Users\\Jo\\" + std::string(300, 'x');
    ASSERT_TRUE(platform.setEnvironment(name, value));
    wchar_t wide[400] = {};
    ASSERT_EQ(GetEnvironmentVariableW(L"MORVESSAN_TEST_WIN32_VARIABLE", wide, 400), value.size());
    EXPECT_EQ(wide[9], L'J');
    EXPECT_EQ(platform.environment(name), value);

    // What another part of the process sets in the block is read at once.
    ASSERT_TRUE(SetEnvironmentVariableW(L"MORVESSAN_TEST_WIN32_VARIABLE", L"D:\\Textures"));
    EXPECT_EQ(platform.environment(name), "D:\\Textures");

    ASSERT_TRUE(platform.setEnvironment(name, ""));
    EXPECT_EQ(GetEnvironmentVariableW(L"MORVESSAN_TEST_WIN32_VARIABLE", wide, 400), 0u);
    EXPECT_EQ(platform.environment(name), "");
    EXPECT_FALSE(platform.setEnvironment("A=B", "x"));
    EXPECT_FALSE(platform.setEnvironment("", "x"));
}

#else

TEST(Win32Platform, WindowsOnly) {
    GTEST_SKIP() << "the Win32 platform layer exists only in the Windows build (win64 preset, run under Wine)";
}

#endif
