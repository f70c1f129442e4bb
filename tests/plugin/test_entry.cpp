// PluginMain: selector dispatch, the unlock after every selector, and the
// conversion of thrown failures into the host's result word and error string.
#include "TestFilter.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace morvessan;
using namespace morvessan::test;

namespace {

struct ThrowingFilter : TestFilter {
    std::function<void()> thrower;
    void DoStart() override { thrower(); }
};

int16 runThrowing(FilterHost& host, std::function<void()> thrower) {
    ThrowingFilter filter;
    filter.thrower = std::move(thrower);
    PluginOverride use(filter);
    return host.run();
}

void useSmallImage(FilterHost& host) { host.setImage(gradientImage(8, 8, 3)); }

} // namespace

TEST(Entry, AboutAndUnknownSelectorsTouchNothing) {
    TestFilter filter;
    PluginOverride use(filter);
    // About hands over an AboutRecord: not a byte of it may change; the result word
    // says success, as on every selector (a host may have left an old failure there).
    AboutRecord about;
    std::memset(&about, 0xCD, sizeof about);
    AboutRecord before = about;
    std::intptr_t data = 0;
    int16 result = 77;
    PluginMain(filterSelectorAbout, reinterpret_cast<FilterRecord*>(&about), &data, &result);
    EXPECT_EQ(result, noErr);
    EXPECT_EQ(std::memcmp(&about, &before, sizeof about), 0);

    for (int16 selector : {int16(6), int16(-1), int16(200)}) {
        FilterRecord record;
        std::memset(&record, 0, sizeof record);
        record.inRect = Rect{1, 2, 3, 4};
        FilterRecord copy = record;
        result = 0;
        PluginMain(selector, &record, &data, &result);
        EXPECT_EQ(result, 0) << selector;
        EXPECT_EQ(std::memcmp(&record, &copy, sizeof record), 0) << selector;
    }
    EXPECT_EQ(data, 0);
    EXPECT_EQ(filter.initialised, 0);
}

TEST(Entry, MessageTextBecomesReportStringWithPascalText) {
    FilterHost host;
    useSmallImage(host);
    EXPECT_EQ(runThrowing(host, [] { vxThrowMessage("Parameters not set"); }), errReportString);
    EXPECT_EQ(host.errorString(), "Parameters not set");
    EXPECT_FALSE(host.parametersLocked());

    // Longer texts are cut to the 255 characters a length byte can count.
    const std::string longText(300, 'x');
    EXPECT_EQ(runThrowing(host, [&] { vxThrowMessage(longText); }), errReportString);
    EXPECT_EQ(host.errorString(), std::string(255, 'x'));

    // A host without an error string still gets the code, and nothing is written.
    host.setErrorStringEnabled(false);
    EXPECT_EQ(runThrowing(host, [] { vxThrowMessage("lost"); }), errReportString);
}

TEST(Entry, CodesPassUnchangedAndAnythingElseIsMinusOne) {
    FilterHost host;
    useSmallImage(host);
    EXPECT_EQ(runThrowing(host, [] { vxThrowCode(userCanceledErr); }), userCanceledErr);
    EXPECT_EQ(runThrowing(host, [] { vxThrowCode(-4242); }), -4242);
    EXPECT_EQ(runThrowing(host, [] { throw 5; }), -1);
    EXPECT_EQ(runThrowing(host, [] { throw std::runtime_error("x"); }), -1);
    EXPECT_EQ(runThrowing(host, [] { throw std::bad_alloc(); }), memFullErr);
    EXPECT_EQ(host.errorString(), "");
    EXPECT_FALSE(host.parametersLocked());
}

TEST(Entry, ParametersAreCreatedOnceKeptAndUnlockedAfterEverySelector) {
    TestFilter filter;
    PluginOverride use(filter);
    FilterHost host;
    useSmallImage(host);
    ASSERT_EQ(host.run(true), noErr);
    EXPECT_EQ(filter.initialised, 1);
    EXPECT_EQ(filter.restored, 1); // Prepare takes over what Parameters made
    EXPECT_FALSE(host.parametersLocked());
    std::vector<std::uint8_t> bytes = host.parameterBytes();
    ASSERT_EQ(bytes.size(), 16u);
    EXPECT_EQ(bytes[0], 0xA0);
    EXPECT_EQ(bytes[15], 0xAF);

    // The next run gets the same block back and does not initialise it again.
    bytes[3] = 0x11;
    host.setParameterBytes(bytes);
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(filter.initialised, 1);
    EXPECT_EQ(filter.restored, 2);
    EXPECT_EQ(host.parameterBytes()[3], 0x11);
    EXPECT_FALSE(host.parametersLocked());
}

TEST(Entry, FailedAllocationIsMemFull) {
    TestFilter filter;
    PluginOverride use(filter);
    FilterHost host;
    useSmallImage(host);
    host.setAllocationFailure(true);
    EXPECT_EQ(host.run(), memFullErr);
    EXPECT_TRUE(filter.tiles.empty());

    // A filter without parameters needs no handle at all.
    filter.parameterSize = 0;
    EXPECT_EQ(host.run(), noErr);
}
