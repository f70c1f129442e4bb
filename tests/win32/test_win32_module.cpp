// The filter module as a Windows host meets it: found through its PiPL, loaded
// by path, and driven through whole runs, including a failing advanceState and
// an abort; every run must match the same run through the linked-in entry point.
#include <gtest/gtest.h>

#if defined(_WIN32)

#include "host/FilterHost.h"
#include "host/win32/VXPSModule.h"
#include "host/win32/VXPSModuleOption.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>

using namespace morvessan;

namespace {

std::string modulePath() {
    const char* path = std::getenv("MORVESSAN_MODULE");
    return path ? path : "";
}

// The helper library's PiPL names only the other architecture's entry point.
const std::string kHelperRefused =
    sizeof(void*) == 8 ? "win32_helper.dll has no entry point for 64-bit Windows (no 8664 property in its PiPL)"
                       : "win32_helper.dll has no entry point for 32-bit Windows (no wx86 property in its PiPL)";

std::string programPath() {
    char buffer[MAX_PATH];
    return std::string(buffer, GetModuleFileNameA(nullptr, buffer, MAX_PATH));
}

HostImage gradientImage(std::int32_t width, std::int32_t height, std::int32_t planes) {
    HostImage image(width, height, planes);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            for (std::int32_t p = 0; p < planes; ++p) {
                image.pixel(x, y)[p] = static_cast<std::uint8_t>(x * 3 + y * 5 + p * 70);
            }
        }
    }
    return image;
}

struct RunResult {
    int16 result;
    HostImage image;
    std::vector<std::uint8_t> parameters;
    int advanceStateCalls;
    int abortCalls;
    std::vector<std::pair<std::int32_t, std::int32_t>> progress;
};

// One whole run on a fresh host; `setup` adds faults, masks and the like.
template <typename Setup>
RunResult runWith(PluginEntry entry, Setup setup) {
    FilterHost host(entry);
    host.setImage(gradientImage(300, 170, 4));
    setup(host);
    const int16 result = host.run(true);
    return {result, host.image(), host.parameterBytes(), host.advanceStateCalls(), host.abortCalls(), host.progress()};
}

void expectSameRun(const RunResult& module, const RunResult& linked) {
    EXPECT_EQ(module.result, linked.result);
    EXPECT_TRUE(module.image == linked.image) << "the module's pixels differ from the linked-in plug-in's";
    EXPECT_EQ(module.parameters, linked.parameters);
    EXPECT_EQ(module.advanceStateCalls, linked.advanceStateCalls);
    EXPECT_EQ(module.abortCalls, linked.abortCalls);
    EXPECT_EQ(module.progress, linked.progress);
}

class Win32Module : public ::testing::Test {
protected:
    void SetUp() override {
        if (modulePath().empty()) {
            GTEST_SKIP() << "MORVESSAN_MODULE not set: run through ctest of the win64 or win32 build";
        }
        std::string error;
        m_module = VXPSModule::load(modulePath(), error);
        ASSERT_TRUE(m_module) << error;
    }
    std::unique_ptr<VXPSModule> m_module;
};

} // namespace

TEST_F(Win32Module, EntryNamedByThePiplIsTheModulesOwnPluginMain) {
    EXPECT_EQ(m_module->entryName(), "PluginMain");
    // The module's entry, not the one linked into this program.
    EXPECT_NE(reinterpret_cast<void*>(m_module->entry()), reinterpret_cast<void*>(&PluginMain));
    HMODULE owner = nullptr;
    ASSERT_TRUE(
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(m_module->entry()), &owner));
    char buffer[MAX_PATH];
    const std::string ownerPath(buffer, GetModuleFileNameA(owner, buffer, MAX_PATH));
    EXPECT_NE(ownerPath.find("XMorvessan.8bf"), std::string::npos) << ownerPath;
}

TEST_F(Win32Module, WholeNonInteractiveRunsMatchTheLinkedInPlugin) {
    const auto plain = [](FilterHost&) {};
    const RunResult module = runWith(m_module->entry(), plain);
    EXPECT_EQ(module.result, 0);
    // The module made its parameter block, fetched tiles and rendered into the image.
    EXPECT_EQ(module.parameters.size(), 832u);
    EXPECT_GT(module.advanceStateCalls, 0);
    EXPECT_FALSE(module.image == gradientImage(300, 170, 4));
    expectSameRun(module, runWith(&PluginMain, plain));

    // A selection and three planes.
    const auto selected = [](FilterHost& host) {
        host.setImage(gradientImage(200, 140, 3));
        HostMask mask(200, 140, 0);
        for (std::int32_t y = 20; y < 120; ++y) {
            for (std::int32_t x = 30; x < 170; ++x)
                mask.at(x, y) = static_cast<std::uint8_t>(x + y);
        }
        host.setMask(mask);
    };
    const RunResult masked = runWith(m_module->entry(), selected);
    EXPECT_EQ(masked.result, 0);
    expectSameRun(masked, runWith(&PluginMain, selected));
}

TEST_F(Win32Module, FailingAdvanceStateAndAbortBehaveAsLinkedIn) {
    const auto failing = [](FilterHost& host) { host.setAdvanceStateFailure(2, -30100); };
    const RunResult failed = runWith(m_module->entry(), failing);
    EXPECT_EQ(failed.advanceStateCalls, 2); // the run stops at the failing call
    expectSameRun(failed, runWith(&PluginMain, failing));

    const auto aborting = [](FilterHost& host) { host.setAbortAfter(1); };
    const RunResult aborted = runWith(m_module->entry(), aborting);
    EXPECT_GE(aborted.abortCalls, 1);
    EXPECT_FALSE(aborted.image == runWith(m_module->entry(), [](FilterHost&) {}).image); // stopped early
    expectSameRun(aborted, runWith(&PluginMain, aborting));

    const auto noMemory = [](FilterHost& host) { host.setAllocationFailure(true); };
    const RunResult module = runWith(m_module->entry(), noMemory);
    expectSameRun(module, runWith(&PluginMain, noMemory));
}

TEST(Win32ModuleLoading, RefusesWhatIsNoUsableModuleWithAClearReason) {
    std::string error;
    EXPECT_FALSE(VXPSModule::load("C:\\no\\such\\folder\\XMorvessan.8bf", error));
    EXPECT_NE(error.find("cannot open module C:\\no\\such\\folder\\XMorvessan.8bf"), std::string::npos) << error;

    const std::string text = "not-a-module.8bf";
    std::ofstream(text) << "plain text, no program";
    EXPECT_FALSE(VXPSModule::load(text, error));
    EXPECT_NE(error.find("cannot open module not-a-module.8bf"), std::string::npos) << error;
    std::remove(text.c_str());

    EXPECT_FALSE(VXPSModule::load(programPath(), error));
    EXPECT_NE(error.find("has no PiPL resource"), std::string::npos) << error;

    EXPECT_FALSE(VXPSModule::load("win32_helper.dll", error));
    EXPECT_EQ(error, kHelperRefused);
}

TEST_F(Win32Module, CommandLineOptionLoadsTheModuleAndLeavesTheOtherArguments) {
    std::vector<std::string> args = {"apply", "--quiet", "in.png", "out.png"};
    EXPECT_FALSE(takeModuleOption(args));
    EXPECT_EQ(args.size(), 4u);

    args = {"--module", modulePath(), "apply", "in.png", "out.png"};
    const auto entry = takeModuleOption(args);
    ASSERT_TRUE(entry);
    EXPECT_EQ(reinterpret_cast<void*>(*entry), reinterpret_cast<void*>(m_module->entry())); // the same loaded library
    EXPECT_EQ(args, (std::vector<std::string>{"apply", "in.png", "out.png"}));

    args = {"apply", "--module=" + modulePath(), "in.png"};
    EXPECT_TRUE(takeModuleOption(args));
    EXPECT_EQ(args, (std::vector<std::string>{"apply", "in.png"}));

    const auto message = [](std::vector<std::string> bad) {
        try {
            takeModuleOption(bad);
        } catch (const std::runtime_error& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message({"apply", "--module"}), "--module needs the path of a filter module (.8bf)");
    EXPECT_EQ(message({"--module=", "apply"}), "--module needs the path of a filter module (.8bf)");
    EXPECT_EQ(message({"--module", "win32_helper.dll"}), kHelperRefused);
}

#else

TEST(Win32Module, WindowsOnly) {
    GTEST_SKIP() << "loading XMorvessan.8bf needs Windows (win64 preset, run under Wine)";
}

#endif
