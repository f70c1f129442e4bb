// The portable platform layer: scripted answers, the drivable clock, settings
// that survive a new instance, and the path helpers.
#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/VXPortablePlatform.h"
#include "VXLib/VXUTIL/VXRenderEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

using namespace morvessan;

TEST(PortablePlatform, MessagesAreLoggedAndAnsweredFromTheScript) {
    VXPortablePlatform p;
    p.queueAnswer(VXMessageAnswer::No);
    EXPECT_EQ(p.messageBox("Delete?", "Confirm", VXMessageButtons::YesNo, VXMessageIcon::Question),
              VXMessageAnswer::No);
    // Without a scripted answer the first button is taken.
    EXPECT_EQ(p.messageBox("Done", "", VXMessageButtons::Ok, VXMessageIcon::None), VXMessageAnswer::Ok);
    EXPECT_EQ(p.messageBox("Sure?", "", VXMessageButtons::YesNoCancel, VXMessageIcon::None), VXMessageAnswer::Yes);
    ASSERT_EQ(p.messages().size(), 3u);
    EXPECT_EQ(p.messages()[0].text, "Delete?");
    EXPECT_EQ(p.messages()[0].caption, "Confirm");
}

TEST(PortablePlatform, ClockAndKeysCanBeDriven) {
    VXPortablePlatform p;
    p.setClock(1000);
    p.advanceClock(250);
    EXPECT_EQ(p.milliseconds(), 1250u);
    EXPECT_FALSE(p.isKeyDown(VXKey::Shift));
    p.setKeyDown(VXKey::Shift, true);
    EXPECT_TRUE(p.isKeyDown(VXKey::Shift));
}

TEST(PortablePlatform, SettingsPersistInTheirFile) {
    const auto file = std::filesystem::temp_directory_path() / "morvessan-settings-test";
    std::filesystem::remove(file);
    {
        VXPortablePlatform p;
        p.setSettingsFile(file.string());
        EXPECT_FALSE(p.readSetting("Software\\A", "Colours"));
        EXPECT_TRUE(p.writeSetting("Software\\A", "Colours", {0x00, 0xFF, 0x10}));
    }
    VXPortablePlatform q;
    q.setSettingsFile(file.string());
    const auto value = q.readSetting("Software\\A", "Colours");
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, (std::vector<std::uint8_t>{0x00, 0xFF, 0x10}));
    std::filesystem::remove(file);
}

TEST(Paths, PartsOfAPathWithEitherSeparator) {
    EXPECT_EQ(folderOf("C:\\a\\b.8bf"), "C:\\a\\");
    EXPECT_EQ(folderOf("/a/b.8bf"), "/a/");
    EXPECT_EQ(folderOf("b.8bf"), "");
    EXPECT_EQ(fileNameOf("/a/b.txt"), "b.txt");
    EXPECT_EQ(titleOf("/a.d/b"), "b");
    EXPECT_EQ(titleOf("/a/b.c.txt"), "b.c");
    EXPECT_EQ(extensionOf("x.PNG"), ".PNG");
    EXPECT_EQ(extensionOf("/a.d/x"), "");
    EXPECT_EQ(replaceExtension("C:\\p\\XMorvessan.8bf", ".chm"), "C:\\p\\XMorvessan.chm");
    EXPECT_TRUE(equalsIgnoreCase("Stone.PNG", "stone.png"));
    EXPECT_FALSE(equalsIgnoreCase("Stone.PNG", "stone.pn"));
}

TEST(Paths, FolderListingIsSortedByByteAndAMissingFolderIsEmpty) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "morvessan-listing-test";
    fs::remove_all(folder);
    fs::create_directories(folder / "sub");
    for (const char* name : {"b.txt", "B.png", "a.TXT", "_x"}) {
        std::ofstream(folder / name) << "x";
    }
    EXPECT_EQ(listFolderNames(folder.string()), (std::vector<std::string>{"B.png", "_x", "a.TXT", "b.txt", "sub"}));
    fs::remove_all(folder);
    EXPECT_TRUE(listFolderNames(folder.string()).empty());
}

TEST(PortablePlatform, EnvironmentIsTheProcessesUnlessScripted) {
    VXPortablePlatform platform;
    const std::string name = "MORVESSAN_TEST_PLATFORM_VARIABLE";
    ASSERT_TRUE(platform.setEnvironment(name, "/tmp/a folder/ü"));
    EXPECT_EQ(platform.environment(name), "/tmp/a folder/ü");
    EXPECT_EQ(vxProcessEnvironment(name), "/tmp/a folder/ü"); // the process's own, which loaded modules share
    VXPortablePlatform other;
    EXPECT_EQ(other.environment(name), "/tmp/a folder/ü");

    // A script shadows the process's value without changing it, even an empty one.
    platform.scriptEnvironment(name, "");
    EXPECT_EQ(platform.environment(name), "");
    EXPECT_EQ(other.environment(name), "/tmp/a folder/ü");

    // An empty value removes the variable.
    ASSERT_TRUE(other.setEnvironment(name, ""));
    EXPECT_EQ(vxProcessEnvironment(name), "");
    EXPECT_EQ(other.environment("MORVESSAN_NO_SUCH_VARIABLE_EVER"), "");

    // Names the system cannot hold are refused and change nothing.
    EXPECT_FALSE(other.setEnvironment("", "x"));
    EXPECT_FALSE(other.setEnvironment("A=B", "x"));
    EXPECT_EQ(vxProcessEnvironment("A"), "");
    EXPECT_EQ(other.environment(""), "");
}

// The renderer's variables: what the renderer takes, and what a program warns of.
TEST(RenderEnvironment, ThreadsAndSimdAreTakenOrNamedAsWrong) {
    // Unsetting a variable that is not set may answer false (Windows): only a value must take.
    const auto set = [](const char* name, const char* value) {
        return vxSetProcessEnvironment(name, value) || *value == '\0';
    };
    const struct {
        const char* threads;
        std::optional<int> taken;
        const char* problem;
    } cases[] = {
        {"", std::nullopt, ""},
        {"4", 4, ""},
        {"64", 64, ""},
        {"65", 64, "MORVESSAN_THREADS 65 is more than 64; 64 threads are used"},
        {"123456789012", 64, "is more than 64"},
        {"0", std::nullopt, "MORVESSAN_THREADS '0' is not a whole number from 1 to 64; every core is used"},
        {"+4", std::nullopt, "is not a whole number"},
        {" 4", std::nullopt, "is not a whole number"},
        {"4x", std::nullopt, "is not a whole number"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(set(kThreadsVariable, c.threads));
        const VXRenderEnvironment environment = vxRenderEnvironment();
        EXPECT_EQ(environment.threads, c.taken) << c.threads;
        EXPECT_NE(environment.threadsProblem.find(c.problem), std::string::npos) << c.threads;
        EXPECT_EQ(environment.threadsProblem.empty(), std::string(c.problem).empty()) << c.threads;
    }
    ASSERT_TRUE(set(kThreadsVariable, ""));
    for (const char* simd : {"scalar", "baseline", "avx2", "avx512"}) {
        ASSERT_TRUE(set(kSimdVariable, simd));
        EXPECT_EQ(vxRenderEnvironment().simd, std::optional<std::string>(simd));
        EXPECT_EQ(vxRenderEnvironment().simdProblem, "");
    }
    ASSERT_TRUE(set(kSimdVariable, "AVX2"));
    EXPECT_EQ(vxRenderEnvironment().simd, std::nullopt);
    EXPECT_EQ(vxRenderEnvironment().simdProblem,
              "MORVESSAN_SIMD 'AVX2' is not scalar, baseline, avx2 or avx512; the widest instruction set of this "
              "processor is used");
    ASSERT_TRUE(set(kSimdVariable, ""));
}
