// The plug-in under hosts that break the interface's rules: each case is a thing
// some host does; none may crash the host, write past its buffers or claim success.
#include "HostileHost.h"

#include "texture/FilterParameters.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#if defined(_WIN32)
#include "host/win32/VXPSModule.h"

#include <windows.h>

#include <tlhelp32.h>
#endif

using namespace morvessan;
using namespace morvessan::test;

namespace {

std::vector<std::uint8_t> defaultBlock() {
    HostileHost host(testedEntry(), 16, 16);
    EXPECT_EQ(host.run(), noErr);
    return host.parameters().value_or(std::vector<std::uint8_t>{});
}

} // namespace

TEST(HostileHost, ParameterHandlesShorterThanTheBlockAreReplacedWithTheDefaults) {
    const std::vector<std::uint8_t> defaults = defaultBlock();
    ASSERT_EQ(defaults.size(), kFilterParametersSize);
    for (const bool canResize : {true, false}) {
        for (const std::size_t size : {0, 1, 100, 560, 826, 831}) {
            Quirks quirks;
            quirks.setSizeProc = canResize;
            HostileHost host(testedEntry(), 40, 30, quirks);
            host.keepParameters(std::vector<std::uint8_t>(size, 0xEE));
            EXPECT_EQ(host.run(), noErr) << size;
            EXPECT_EQ(host.parameters(), defaults) << size << (canResize ? " resized" : " replaced");
            EXPECT_EQ(host.strayUnlocks(), 0);
        }
    }
    // A whole block of garbage is the host's to keep: read, checked, and run
    // (its texture picture, a path of garbage, is left out).
    HostileHost host(testedEntry(), 40, 30);
    std::vector<std::uint8_t> garbage(kFilterParametersSize);
    for (std::size_t i = 0; i < garbage.size(); ++i) {
        garbage[i] = static_cast<std::uint8_t>(i * 131 + 17);
    }
    host.keepParameters(garbage);
    EXPECT_EQ(host.call(filterSelectorParameters), noErr);
    EXPECT_EQ(host.run(), noErr);
}

TEST(HostileHost, ImagesOtherThanEightBitRgbAreRefusedBeforeAnyPixel) {
    struct Mode {
        const char* name;
        int16 imageMode;
        int16 planes;
        int32 depth;
    };
    for (const Mode& mode : {Mode{"grey", 1, 1, 8}, Mode{"grey and alpha", 1, 2, 8}, Mode{"two planes", 3, 2, 8},
                             Mode{"16-bit RGB", 3, 4, 16}, Mode{"32-bit RGB", 3, 3, 32}, Mode{"CMYK", 4, 4, 8},
                             Mode{"Lab", 9, 3, 8}, Mode{"indexed", 2, 3, 8}, Mode{"RGB48", 10, 3, 16}}) {
        for (const bool prepare : {true, false}) {
            Quirks quirks;
            quirks.imageMode = mode.imageMode;
            quirks.planes = mode.planes;
            quirks.depth = mode.depth;
            HostileHost host(testedEntry(), 50, 20, quirks);
            EXPECT_EQ(host.run(prepare), filterBadMode) << mode.name;
            EXPECT_EQ(host.advanceCalls(), 0) << mode.name;
            EXPECT_EQ(host.locks(), host.unlocks()) << mode.name;
        }
    }
    // Hosts older than the depth field leave it zero: that is 8 bits.
    Quirks old;
    old.depth = 0;
    HostileHost host(testedEntry(), 50, 20, old);
    EXPECT_EQ(host.run(), noErr);
}

TEST(HostileHost, ShortRowsAndClippedTilesAreTheHostsErrorWithNothingWritten) {
    for (const int16 planes : {3, 4}) {
        for (const bool mask : {false, true}) {
            Quirks shortRows;
            shortRows.planes = planes;
            shortRows.mask = mask;
            shortRows.rowsShortBy = 1;
            HostileHost rows(testedEntry(), 300, 20, shortRows);
            EXPECT_EQ(rows.run(), paramErr) << planes << mask;
            EXPECT_FALSE(rows.outputWritten());

            Quirks clipped = shortRows;
            clipped.rowsShortBy = 0;
            clipped.clipTiles = true;
            HostileHost clip(testedEntry(), 300, 20, clipped);
            EXPECT_EQ(clip.run(), paramErr) << planes << mask;
            EXPECT_FALSE(clip.outputWritten());
        }
    }
}

TEST(HostileHost, ACallWithoutARecordIsRefused) {
    for (const int16 selector : {filterSelectorParameters, filterSelectorPrepare, filterSelectorStart,
                                 filterSelectorContinue, filterSelectorFinish}) {
        std::intptr_t data = 0;
        int16 result = noErr;
        testedEntry()(selector, nullptr, &data, &result);
        EXPECT_EQ(result, paramErr) << selector;
        testedEntry()(selector, nullptr, nullptr, nullptr);
    }
}

TEST(HostileHost, StartWithoutPrepareRendersTheImageItIsGiven) {
    HostileHost host(testedEntry(), 900, 600);
    ASSERT_EQ(host.run(), noErr);
    host.resize(64, 64);
    EXPECT_EQ(host.run(false), noErr);
    EXPECT_FALSE(host.askedOutsideImage());
}

TEST(HostileHost, EveryLockIsMatchedByOneUnlockAndNothingElseIsUnlocked) {
    HostileHost host(testedEntry(), 40, 30);
    ASSERT_EQ(host.call(filterSelectorParameters), noErr);
    ASSERT_EQ(host.run(), noErr);
    ASSERT_EQ(host.run(), noErr); // with the kept block
    EXPECT_GT(host.locks(), 0);
    EXPECT_EQ(host.locks(), host.unlocks());
    EXPECT_EQ(host.strayUnlocks(), 0);

    // A lock that fails is not unlocked.
    Quirks failing;
    failing.failLocks = true;
    HostileHost refused(testedEntry(), 40, 30, failing);
    refused.keepParameters(defaultBlock());
    EXPECT_EQ(refused.run(), memFullErr);
    EXPECT_EQ(refused.strayUnlocks(), 0);
}

TEST(HostileHost, MissingSuitesAndFailingCallbacksEndWithTheirCodes) {
    Quirks noHandles;
    noHandles.handleSuite = false;
    EXPECT_EQ(HostileHost(testedEntry(), 20, 20, noHandles).run(), paramErr);
    Quirks shortSuite; // counts only new, dispose, get and set size: no lock
    shortSuite.numHandleProcs = 4;
    EXPECT_EQ(HostileHost(testedEntry(), 20, 20, shortSuite).run(), paramErr);
    Quirks noAdvance;
    noAdvance.advanceState = false;
    EXPECT_EQ(HostileHost(testedEntry(), 20, 20, noAdvance).run(), paramErr);

    // 100 x 700 is a column of six tiles: fail or abort at each of them.
    for (int call = 1; call <= 6; ++call) {
        Quirks failing;
        failing.failAdvanceAt = call;
        HostileHost host(testedEntry(), 100, 700, failing);
        EXPECT_EQ(host.run(), -5555) << call;
        EXPECT_EQ(host.locks(), host.unlocks());
        const Rect& in = host.record().inRect;
        EXPECT_TRUE(in.left == 0 && in.top == 0 && in.right == 0 && in.bottom == 0);

        Quirks aborting;
        aborting.abortFrom = call;
        HostileHost stopped(testedEntry(), 100, 700, aborting);
        EXPECT_EQ(stopped.run(), userCanceledErr) << call;
    }
}

TEST(HostileHost, OddRectanglesAndSelectorOrdersAreHarmless) {
    HostileHost empty(testedEntry(), 0, 0);
    EXPECT_EQ(empty.run(), noErr);
    EXPECT_EQ(empty.advanceCalls(), 0);

    HostileHost thin(testedEntry(), 1, 300);
    EXPECT_EQ(thin.run(), noErr);

    // Continue and Finish before any Start, Start twice, Prepare after Finish.
    HostileHost host(testedEntry(), 30, 30);
    EXPECT_EQ(host.call(filterSelectorContinue), noErr);
    EXPECT_EQ(host.call(filterSelectorFinish), noErr);
    EXPECT_EQ(host.run(false), noErr);
    EXPECT_EQ(host.run(false), noErr);
    EXPECT_EQ(host.call(filterSelectorPrepare), noErr);
    EXPECT_EQ(host.strayUnlocks(), 0);
}

#if defined(_WIN32)

namespace {

int threadsOfThisProcess() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    }
    CloseHandle(snapshot);
    return count;
}

} // namespace

TEST(HostileHost, ARenderCutShortByProcessExitLetsTheProcessEnd) {
    // Another thread ends the process while the render threads work: the
    // module's unload must not wait for locks that killed threads hold.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::thread render([] {
                HostileHost host(testedEntry(), 3000, 3000);
                host.run();
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            ExitProcess(7);
        },
        ::testing::ExitedWithCode(7), "");
}

TEST(HostileHost, LoadRunUnloadLeavesNoThread) {
    const char* path = std::getenv("MORVESSAN_MODULE");
    if (!path) {
        GTEST_SKIP() << "MORVESSAN_MODULE not set: run through ctest of a Windows build";
    }
    const int before = threadsOfThisProcess();
    for (int i = 0; i < 20; ++i) {
        std::string error;
        const std::unique_ptr<VXPSModule> module = VXPSModule::load(path, error);
        ASSERT_TRUE(module) << error;
        HostileHost host(module->entry(), 400, 300);
        EXPECT_EQ(host.run(), noErr);
    }
    EXPECT_LE(threadsOfThisProcess(), before);
}

#endif
