// The module's PiPL: its exact bytes, the generated resource file and the
// resource inside the built module, and a host's reading of damaged PiPLs.
#include "resources/descriptor/DescriptorTerms.h"
#include "resources/pipl/Pipl.h"
#include "tests/pipl/PeImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace morvessan;
using morvessan::test::PeImage;

namespace {

// Written out by hand from the host's PiPL layout; not derived from the encoder.
const std::vector<std::uint8_t> kExpectedPipl = {
    0x01,
    0x00, // resource version 1
    0x00,
    0x00,
    0x00,
    0x00, // PiPL version 0
    0x09,
    0x00,
    0x00,
    0x00, // nine properties
    // kind: '8BFM'
    'M',
    'I',
    'B',
    '8',
    'd',
    'n',
    'i',
    'k',
    0,
    0,
    0,
    0,
    4,
    0,
    0,
    0,
    'M',
    'F',
    'B',
    '8',
    // name: "Morvessan..." as a counted string, 13 bytes padded to 16
    'M',
    'I',
    'B',
    '8',
    'e',
    'm',
    'a',
    'n',
    0,
    0,
    0,
    0,
    16,
    0,
    0,
    0,
    12,
    'M',
    'o',
    'r',
    'v',
    'e',
    's',
    's',
    'a',
    'n',
    '.',
    '.',
    '.',
    0,
    0,
    0,
    // catg: "artisory", 9 bytes padded to 12
    'M',
    'I',
    'B',
    '8',
    'g',
    't',
    'a',
    'c',
    0,
    0,
    0,
    0,
    12,
    0,
    0,
    0,
    8,
    'a',
    'r',
    't',
    'i',
    's',
    'o',
    'r',
    'y',
    0,
    0,
    0,
    // vers: 4.0
    'M',
    'I',
    'B',
    '8',
    's',
    'r',
    'e',
    'v',
    0,
    0,
    0,
    0,
    4,
    0,
    0,
    0,
    0x00,
    0x00,
    0x04,
    0x00,
    // 8664: "PluginMain" and its zero, 11 bytes padded to 12
    'M',
    'I',
    'B',
    '8',
    '4',
    '6',
    '6',
    '8',
    0,
    0,
    0,
    0,
    12,
    0,
    0,
    0,
    'P',
    'l',
    'u',
    'g',
    'i',
    'n',
    'M',
    'a',
    'i',
    'n',
    0,
    0,
    // mode: RGB only
    'M',
    'I',
    'B',
    '8',
    'e',
    'd',
    'o',
    'm',
    0,
    0,
    0,
    0,
    4,
    0,
    0,
    0,
    0x10,
    0x00,
    0,
    0,
    // enbl: 29 characters and the zero, padded to 32
    'M',
    'I',
    'B',
    '8',
    'l',
    'b',
    'n',
    'e',
    0,
    0,
    0,
    0,
    32,
    0,
    0,
    0,
    'i',
    'n',
    ' ',
    '(',
    'P',
    'S',
    'H',
    'O',
    'P',
    '_',
    'I',
    'm',
    'a',
    'g',
    'e',
    'M',
    'o',
    'd',
    'e',
    ',',
    ' ',
    'R',
    'G',
    'B',
    'M',
    'o',
    'd',
    'e',
    ')',
    0,
    0,
    0,
    // fici: seven filter cases
    'M',
    'I',
    'B',
    '8',
    'i',
    'c',
    'i',
    'f',
    0,
    0,
    0,
    0,
    28,
    0,
    0,
    0,
    1,
    1,
    0x0E,
    0,
    1,
    1,
    0x0E,
    0,
    1,
    1,
    0x0E,
    0,
    1,
    1,
    0x0E,
    0,
    1,
    1,
    0x0E,
    0,
    1,
    1,
    0x0E,
    0,
    1,
    1,
    0x0E,
    0,
    // hstm: version 1, class and event 'Mrvs', the terminology's id 16000, the
    // scope string and its zero: 44 bytes
    'M',
    'I',
    'B',
    '8',
    'm',
    't',
    's',
    'h',
    0,
    0,
    0,
    0,
    44,
    0,
    0,
    0,
    1,
    0,
    0,
    0,
    's',
    'v',
    'r',
    'M',
    's',
    'v',
    'r',
    'M',
    0x80,
    0x3E,
    'M',
    'o',
    'r',
    'v',
    'e',
    's',
    's',
    'a',
    'n',
    ' ',
    'p',
    'r',
    'o',
    'c',
    'e',
    'd',
    'u',
    'r',
    'a',
    'l',
    ' ',
    't',
    'e',
    'x',
    't',
    'u',
    'r',
    'e',
    's',
    0,
};

// The 32-bit module's PiPL: the same, but for its fifth property, by hand.
// clang-format off
const std::vector<std::uint8_t> kExpectedEntry32 = {
    // wx86: "PluginMain" and its zero, 11 bytes padded to 12
    'M', 'I', 'B', '8', '6', '8', 'x', 'w', 0, 0, 0, 0, 12, 0, 0, 0,
    'P', 'l', 'u', 'g', 'i', 'n', 'M', 'a', 'i', 'n', 0, 0,
};
// clang-format on
const std::size_t kEntryOffset = 10 + (16 + 4) + (16 + 16) + (16 + 12) + (16 + 4);

std::vector<std::uint8_t> expectedPipl32() {
    std::vector<std::uint8_t> bytes(kExpectedPipl.begin(), kExpectedPipl.begin() + kEntryOffset);
    bytes.insert(bytes.end(), kExpectedEntry32.begin(), kExpectedEntry32.end());
    bytes.insert(bytes.end(), kExpectedPipl.begin() + kEntryOffset + kExpectedEntry32.size(), kExpectedPipl.end());
    return bytes;
}

// What this build's module carries: one module per pointer width.
std::vector<std::uint8_t> expectedPiplOfThisBuild() { return sizeof(void*) == 4 ? expectedPipl32() : kExpectedPipl; }

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void putU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = std::uint8_t(value >> (8 * i));
}

} // namespace

TEST(Pipl, EncodesEveryByteAsTheHostExpects) {
    const auto bytes = encodePipl(morvessanPiplProperties());
    EXPECT_EQ(bytes.size(), 310u); // the eight properties' 240 bytes as ever, then the terminology's
    EXPECT_EQ(bytes, kExpectedPipl);
}

TEST(Pipl, ThirtyTwoBitTableDiffersOnlyInTheEntryKey) {
    const auto bytes32 = encodePipl(morvessanPiplProperties(kPiplEntry32));
    EXPECT_EQ(bytes32, expectedPipl32());
    const auto properties = decodePipl(bytes32.data(), bytes32.size());
    ASSERT_TRUE(properties);
    EXPECT_EQ(piplString(*properties, kPiplEntry32), "PluginMain");
    EXPECT_FALSE(piplString(*properties, kPiplEntry64));
}

TEST(Pipl, HostReadsTheEntryNameBackAndNothingElse) {
    std::string error;
    const auto properties = decodePipl(kExpectedPipl.data(), kExpectedPipl.size(), &error);
    ASSERT_TRUE(properties) << error;
    ASSERT_EQ(properties->size(), 9u);
    const char* keys[] = {"kind", "name", "catg", "vers", "8664", "mode", "enbl", "fici", "hstm"};
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ((*properties)[i].key, fourCharCode(*reinterpret_cast<const char(*)[5]>(keys[i]))) << i;
        EXPECT_EQ((*properties)[i].vendor, kPiplVendor);
    }
    EXPECT_EQ((*properties)[1].data.size(), 16u); // padded data as stored
    EXPECT_EQ(piplString(*properties, kPiplEntry64), "PluginMain");
    EXPECT_EQ(piplString(*properties, fourCharCode("enbl")), "in (PSHOP_ImageMode, RGBMode)");
    EXPECT_FALSE(piplString(*properties, kPiplEntry32));
}

TEST(Pipl, DamagedResourcesAreRefusedWithAReason) {
    // Every truncation is refused (or, at a property boundary of an intact
    // prefix, cannot be, since the count then says more): never a read past the end.
    for (std::size_t size = 0; size < kExpectedPipl.size(); ++size) {
        std::string error;
        EXPECT_FALSE(decodePipl(kExpectedPipl.data(), size, &error)) << size;
        EXPECT_FALSE(error.empty()) << size;
    }
    auto bytes = kExpectedPipl;
    putU32(bytes, 6, 0xFFFFFFFF);
    std::string error;
    EXPECT_FALSE(decodePipl(bytes.data(), bytes.size(), &error));
    EXPECT_EQ(error, "PiPL property count exceeds the resource");

    bytes = kExpectedPipl;
    putU32(bytes, 10 + 12, 0x7FFFFFF0); // first property's length
    EXPECT_FALSE(decodePipl(bytes.data(), bytes.size(), &error));
    EXPECT_EQ(error, "PiPL property data runs past the end");

    bytes = kExpectedPipl;
    bytes[0] = 2;
    EXPECT_FALSE(decodePipl(bytes.data(), bytes.size(), &error));
    EXPECT_EQ(error, "PiPL resource version is not 1");
    EXPECT_FALSE(decodePipl(nullptr, 0, &error));
}

TEST(Pipl, UnroundedLengthsAndUnterminatedNamesAsAHostMeetsThem) {
    // Another writer's PiPL with the exact (unrounded) entry-name length 11.
    std::vector<PiplProperty> written = {
        {kPiplVendor, kPiplEntry64, 0, {'P', 'l', 'u', 'g', 'i', 'n', 'M', 'a', 'i', 'n', 0}},
        {kPiplVendor, fourCharCode("mode"), 0, {0x10, 0}}};
    auto bytes = encodePipl(written);
    putU32(bytes, 10 + 12, 11);
    putU32(bytes, 10 + 16 + 12 + 12, 2);
    const auto properties = decodePipl(bytes.data(), bytes.size());
    ASSERT_TRUE(properties);
    EXPECT_EQ(*properties, written);
    EXPECT_EQ(piplString(*properties, kPiplEntry64), "PluginMain");

    // An entry name without its zero is no name.
    const std::vector<PiplProperty> unterminated = {{kPiplVendor, kPiplEntry64, 0, {'P', 'l', 'u', 'g'}}};
    EXPECT_FALSE(piplString(unterminated, kPiplEntry64));
    // Another vendor's property with the same key is not ours.
    const std::vector<PiplProperty> foreign = {{fourCharCode("ABCD"), kPiplEntry64, 0, {'X', 0}}};
    EXPECT_FALSE(piplString(foreign, kPiplEntry64));
}

TEST(PiplFiles, GeneratedResourceFileHasTheExpectedBytes) {
    const std::string file = environment("MORVESSAN_PIPL_FILE");
    if (file.empty()) {
        GTEST_SKIP() << "MORVESSAN_PIPL_FILE not set: run through ctest";
    }
    EXPECT_EQ(readFile(file), expectedPiplOfThisBuild());
}

TEST(PiplFiles, BuiltModuleCarriesThePiplAndExportsOnlyPluginMain) {
    const std::string module = environment("MORVESSAN_MODULE");
    if (module.empty()) {
        GTEST_SKIP() << "no Windows module in this build (XMorvessan.8bf is made by the win64 and win32 presets)";
    }
    PeImage image;
    ASSERT_TRUE(image.load(module)) << image.error();
    EXPECT_EQ(image.machine(), sizeof(void*) == 4 ? 0x14C : 0x8664);
    const auto pipl = image.resource("PiPL", 16000);
    ASSERT_TRUE(pipl) << "no resource of type PiPL with id 16000";
    EXPECT_EQ(*pipl, expectedPiplOfThisBuild());
    EXPECT_EQ(image.exportNames(), std::vector<std::string>{"PluginMain"});
    EXPECT_FALSE(image.resource("PiPL", 16001));
    // The terminology the PiPL's last property points at, from the same table the plug-in writes by.
    const auto terminology = image.resource("aete", 16000);
    ASSERT_TRUE(terminology) << "no resource of type aete with id 16000";
    EXPECT_EQ(*terminology, encodeTerminology());
    EXPECT_FALSE(image.resource("IMAGE", 16000));

    // Version information (type 16) names the product; its strings are UTF-16.
    const auto version = image.resource(16, 1);
    ASSERT_TRUE(version) << "no version resource";
    const auto utf16 = [](const std::string& text) {
        std::vector<std::uint8_t> bytes;
        for (char c : text)
            bytes.insert(bytes.end(), {std::uint8_t(c), 0});
        bytes.insert(bytes.end(), {0, 0});
        return bytes;
    };
    const auto contains = [&](const std::string& text) {
        const auto needle = utf16(text);
        return std::search(version->begin(), version->end(), needle.begin(), needle.end()) != version->end();
    };
    EXPECT_TRUE(contains("ProductName"));
    EXPECT_TRUE(contains("Morvessan"));
    EXPECT_TRUE(contains("OriginalFilename"));
    EXPECT_TRUE(contains("XMorvessan.8bf"));
    EXPECT_TRUE(contains("FileDescription"));
}
