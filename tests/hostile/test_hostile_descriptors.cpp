// Recorded actions under hosts that break the rules: suites cut short, keys that
// never run out, descriptors that are not whole. Each run draws, with the readable
// settings or the defaults, and never reads or writes where it should not.
#include "HostileHost.h"

#include "texture/FilterParameters.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace morvessan;
using namespace morvessan::test;

namespace {

FilterParameters blockOf(const HostileHost& host) {
    FilterParameters block{};
    const auto bytes = host.parameters();
    EXPECT_TRUE(bytes && bytes->size() == sizeof block);
    if (bytes && bytes->size() == sizeof block) {
        std::memcpy(&block, bytes->data(), sizeof block);
    }
    return block;
}

std::vector<std::uint8_t> seedDescriptor(std::int32_t seed) {
    return encodeDescriptor({integerEntry(0x6D765364 /* 'mvSd' */, seed)});
}

std::vector<std::uint8_t> keptBlock(std::int32_t seed) {
    FilterParameters block{};
    writeDefaultParameters(block);
    block.texture.noiseSeed = seed;
    std::vector<std::uint8_t> bytes(sizeof block);
    std::memcpy(bytes.data(), &block, sizeof block);
    return bytes;
}

} // namespace

TEST(HostileHost, DescriptorsAreReadOnlyThroughWholeSuites) {
    Quirks whole;
    whole.descriptorBytes = seedDescriptor(77);
    HostileHost replayed(testedEntry(), 30, 20, whole);
    replayed.keepParameters(keptBlock(5));
    ASSERT_EQ(replayed.run(), noErr);
    EXPECT_EQ(blockOf(replayed).texture.noiseSeed, 77);
    EXPECT_TRUE(replayed.descriptor()) << "the settings are written for the action";
    EXPECT_EQ(replayed.locks(), replayed.unlocks());
    // Eight routines reach the text reader, all a replay uses.
    Quirks eight = whole;
    eight.numReadDescriptorProcs = 8;
    HostileHost enough(testedEntry(), 30, 20, eight);
    enough.keepParameters(keptBlock(5));
    ASSERT_EQ(enough.run(), noErr);
    EXPECT_EQ(blockOf(enough).texture.noiseSeed, 77);

    // Suites too short for what is read, or none: the descriptor is not read and the block stands.
    for (const int16 count : {int16{0}, int16{3}, int16{7}}) {
        Quirks cut = whole;
        cut.numReadDescriptorProcs = count;
        HostileHost host(testedEntry(), 30, 20, cut);
        host.keepParameters(keptBlock(5));
        ASSERT_EQ(host.run(), noErr) << count;
        EXPECT_EQ(blockOf(host).texture.noiseSeed, 5) << count;
    }
    Quirks none = whole;
    none.descriptorSuites = false;
    HostileHost bare(testedEntry(), 30, 20, none);
    bare.keepParameters(keptBlock(5));
    ASSERT_EQ(bare.run(), noErr);
    EXPECT_EQ(blockOf(bare).texture.noiseSeed, 5);

    // A write suite cut short: nothing is written, the render stands.
    Quirks noWrite;
    noWrite.numWriteDescriptorProcs = 5;
    HostileHost unrecorded(testedEntry(), 30, 20, noWrite);
    ASSERT_EQ(unrecorded.run(), noErr);
    EXPECT_FALSE(unrecorded.descriptor());
}

TEST(HostileHost, EndlessKeysAndDamagedDescriptorsEndWithTheDefaults) {
    Quirks endless;
    endless.descriptorBytes = seedDescriptor(77);
    endless.endlessKeys = true;
    HostileHost host(testedEntry(), 30, 20, endless);
    host.keepParameters(keptBlock(5));
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(blockOf(host).texture.noiseSeed, 1) << "no entry could be read: the default";

    std::vector<std::uint8_t> cut = seedDescriptor(77);
    cut.resize(cut.size() - 2);
    for (const std::vector<std::uint8_t>& damaged :
         {cut, std::vector<std::uint8_t>(3, 0xEE), std::vector<std::uint8_t>{}}) {
        Quirks quirks;
        quirks.descriptorBytes = damaged;
        HostileHost run(testedEntry(), 30, 20, quirks);
        run.keepParameters(keptBlock(5));
        ASSERT_EQ(run.run(), noErr) << damaged.size();
        EXPECT_EQ(blockOf(run).texture.noiseSeed, 1) << damaged.size();
    }
}
