// Bitmaps through the command line's picture reading: transparency written and read
// back, headers that contradict themselves refused as damaged, data cut short.
#include "tests/cli/CliTest.h"
#include "job/JobPictureReader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

class CliBitmaps : public Cli {};

void put32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + std::size_t(i)] = char(v >> (8 * i));
    }
}

void put16(std::string& b, std::size_t at, std::uint32_t v) {
    b[at] = char(v);
    b[at + 1] = char(v >> 8);
}

// A classic bitmap of 2 x 2 pixels at `bits` bits (24 or 32), no colour table,
// pixel bytes 1, 2, 3, ... in file order.
std::string bitmap(int bits) {
    const std::size_t stride = 8; // two pixels of three bytes padded to eight, or of four
    std::string b(14 + 40 + 2 * stride, '\0');
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, std::uint32_t(b.size()));
    put32(b, 10, 54);
    put32(b, 14, 40);
    put32(b, 18, 2);
    put32(b, 22, 2);
    put16(b, 26, 1);
    put16(b, 28, std::uint32_t(bits));
    for (std::size_t i = 54; i < b.size(); ++i) {
        b[i] = char(i - 53);
    }
    return b;
}

struct Decoded {
    bool ok;
    HostImage image;
    std::string error;
    std::string damage;
};

Decoded decode(const std::string& bytes, bool strict = false) {
    Decoded d{};
    PictureReading reading;
    reading.strict = strict;
    d.ok = decodeHostPicture(bytes, reading, d.image, d.error, d.damage);
    return d;
}

} // namespace

TEST_F(CliBitmaps, TransparencyWrittenToABitmapIsReadBack) {
    HostImage rgba(3, 2, 4);
    for (std::size_t i = 0; i < rgba.pixels.size(); ++i) {
        rgba.pixels[i] = std::uint8_t(i * 17 + 3);
    }
    save("a.bmp", rgba);
    const HostImage back = load("a.bmp");
    EXPECT_EQ(back.planes, 4);
    EXPECT_EQ(back.pixels, rgba.pixels);
    // Through the program: a transparent canvas stays transparent through a bitmap.
    ASSERT_EQ(run("render --quiet --size 16x8 --background transparent --opacity 50 " + p("t.bmp")).status, 0);
    ASSERT_EQ(run("apply --quiet --opacity 0 " + p("t.bmp") + " " + p("t.png")).status, 0);
    EXPECT_EQ(load("t.png").planes, 4);

    // 32-bit bitmaps without masks, as this program wrote them before: alpha when
    // any fourth byte is set, else three planes.
    const Decoded old = decode(bitmap(32));
    ASSERT_TRUE(old.ok) << old.error;
    ASSERT_EQ(old.image.planes, 4);
    // Bottom row first in the file: pixel (0, 1) is bytes 1..4 as blue, green, red, alpha.
    EXPECT_EQ(old.image.pixel(0, 1)[0], 3);
    EXPECT_EQ(old.image.pixel(0, 1)[3], 4);
    std::string opaque = bitmap(32);
    for (std::size_t i = 54 + 3; i < opaque.size(); i += 4) {
        opaque[i] = 0;
    }
    EXPECT_EQ(decode(opaque).image.planes, 3);
}

TEST_F(CliBitmaps, HeadersThatContradictThemselvesAreDamaged) {
    ASSERT_TRUE(decode(bitmap(24)).ok);
    const auto refused = [](std::string bytes, const std::string& why) {
        const Decoded d = decode(bytes);
        EXPECT_FALSE(d.ok) << why;
        EXPECT_EQ(d.error, "it is damaged (" + why + ")");
    };
    std::string b = bitmap(24);
    put16(b, 26, 2);
    refused(b, "its header gives 2 planes, not 1");
    b = bitmap(24);
    put16(b, 28, 7);
    refused(b, "its header gives 7 bits a pixel");
    b = bitmap(24);
    put32(b, 30, 1);
    refused(b, "compression 1 does not go with 24 bits a pixel");
    b = bitmap(24);
    put32(b, 10, 40);
    refused(b, "its pixels would start at byte 40, inside its header or colours");
    b = bitmap(24);
    put32(b, 10, 9000);
    refused(b, "its pixels would start at byte 9000, after the end of the file");
    b = bitmap(24);
    put32(b, 34, 4);
    refused(b, "its image size of 4 bytes is less than its rows need (16)");
    b = bitmap(24);
    put16(b, 28, 8);
    put32(b, 46, 300);
    refused(b, "it names 300 colours for 8 bits a pixel");
    // An 8-bit bitmap whose pixels would overlap its colour table.
    b = bitmap(24);
    put16(b, 28, 8);
    refused(b, "its pixels would start at byte 54, inside its header or colours");
}

TEST_F(CliBitmaps, ABitmapCutShortIsDamagedAsPngAndJpegAre) {
    const std::string whole = bitmap(24);
    const std::string cut = whole.substr(0, whole.size() - 5);
    const Decoded d = decode(cut);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.damage, "the data breaks off");
    // The bottom row (first in the file) was read; the cut top row is black where it broke off.
    EXPECT_EQ(d.image.pixel(1, 1)[2], 4);
    EXPECT_EQ(d.image.pixel(1, 0)[0], 0);
    const Decoded strict = decode(cut, true);
    EXPECT_FALSE(strict.ok);
    EXPECT_EQ(strict.error, "it is damaged (the data breaks off)");
    std::ofstream(at("cut.bmp"), std::ios::binary) << cut;
    const Result r = run("apply --quiet " + p("cut.bmp") + " " + p("o.png"));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("cut.bmp' is damaged (the data breaks off); using what could be read of it"),
              std::string::npos)
        << r.err;
    // Without a single row there is nothing to use; the header alone decides no allocation.
    EXPECT_EQ(decode(whole.substr(0, 54 + 7)).error, "it is damaged (its pixel data is missing)");
    // A top-down bitmap keeps its top rows.
    std::string top = whole;
    put32(top, 22, std::uint32_t(-2));
    const Decoded topCut = decode(top.substr(0, top.size() - 5));
    ASSERT_TRUE(topCut.ok) << topCut.error;
    EXPECT_EQ(topCut.image.pixel(1, 0)[2], 4);
    EXPECT_EQ(topCut.image.pixel(1, 1)[0], 0);
    // Cut inside the header it is no picture at all.
    EXPECT_EQ(decode(whole.substr(0, 30)).error,
              "it is not a bitmap picture this program can read (it ends inside its header)");
}
