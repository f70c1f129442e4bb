// Strips deflated at every PNG level join into one stream that inflates to their
// input: zlib's flushes and libdeflate's reopened final blocks, on data that packs
// to nothing, not at all (stored blocks) and in between, down to a byte.
#include "VXLib/VXDeflateStrip.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

using namespace morvessan;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Raw deflate data inflated whole; empty when it is not one finished stream.
Bytes inflateAll(const Bytes& data, std::size_t expected) {
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK)
        return {};
    Bytes out(expected + 1);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = uInt(data.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    const int result = inflate(&z, Z_FINISH);
    const bool whole = result == Z_STREAM_END && z.avail_in == 0;
    // Cut to what was produced (erase, not resize: nothing is ever filled in).
    out.erase(out.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(z.total_out, out.size())), out.end());
    inflateEnd(&z);
    return whole ? out : Bytes{};
}

Bytes sample(const char* kind, std::size_t size) {
    Bytes bytes(size);
    std::uint32_t state = 99;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        const std::string_view k(kind);
        bytes[i] = k == "zeros" ? 0 : k == "noise" ? std::uint8_t(state >> 24) : std::uint8_t(i / 4000 + (state >> 30));
    }
    return bytes;
}

} // namespace

TEST(DeflateStrip, StripsOfEveryLevelJoinIntoOneStreamOfTheirInput) {
    const VXPngCompression levels[] = {VXPngCompression::Fast, VXPngCompression::Default, VXPngCompression::Small};
    const struct {
        const char* kind;
        std::size_t size;
    } inputs[] = {
        {"zeros", 300000}, {"noise", 200003}, {"ramp", (std::size_t(1) << 20) + 7}, {"ramp", 1}, {"noise", 2}};
    for (const VXPngCompression level : levels) {
        for (const auto& input : inputs) {
            SCOPED_TRACE(std::string(input.kind) + " " + std::to_string(input.size) + ", level " +
                         std::to_string(int(level)));
            const Bytes data = sample(input.kind, input.size);
            // Three strips, the first two left open; a one-byte input is one last strip.
            const std::size_t cuts[] = {data.size() / 3, data.size() * 2 / 3, data.size()};
            Bytes stream;
            std::size_t from = 0;
            for (const std::size_t to : cuts) {
                if (to == from)
                    continue;
                Bytes part;
                const bool last = to == data.size();
                ASSERT_TRUE(vxDeflateStrip(data.data() + from, to - from, last, level, part));
                if (!last) {
                    // Ends as a sync flush does: an empty stored block on a byte boundary.
                    ASSERT_GE(part.size(), 4u);
                    EXPECT_EQ(Bytes(part.end() - 4, part.end()), (Bytes{0, 0, 0xFF, 0xFF}));
                    // An open strip alone is no finished stream.
                    EXPECT_TRUE(inflateAll(part, to - from).empty());
                }
                Bytes again;
                ASSERT_TRUE(vxDeflateStrip(data.data() + from, to - from, last, level, again));
                EXPECT_EQ(again, part);
                stream.insert(stream.end(), part.begin(), part.end());
                from = to;
            }
            EXPECT_EQ(inflateAll(stream, data.size()), data);
        }
    }
}

TEST(DeflateStrip, TheHeaderNamesTheLevelWithAValidCheck) {
    for (const VXPngCompression level : {VXPngCompression::Fast, VXPngCompression::Default, VXPngCompression::Small}) {
        EXPECT_EQ((0x78 * 256 + vxZlibLevelByte(level)) % 31, 0);
    }
    EXPECT_EQ(vxZlibLevelByte(VXPngCompression::Small) >> 6, 2); // the default encoder's class
}
