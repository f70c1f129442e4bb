// The bytes of a pattern space, written and read field by field so that the
// layout is the same on every build whatever the compiler's padding or byte order.
#include "texture/PatternSpace.h"

#include <cmath>
#include <cstring>

namespace morvessan {

namespace {

constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kTileable = 1;
constexpr std::uint32_t kEvolving = 2;
constexpr std::size_t kSize = kPatternSpaceSize;

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

std::uint32_t get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

} // namespace

std::vector<std::uint8_t> encodePatternSpace(const PatternSpace& space) {
    std::vector<std::uint8_t> out;
    out.reserve(kSize);
    put32(out, kVersion);
    put32(out, (space.tileable ? kTileable : 0) | (space.evolving ? kEvolving : 0));
    std::uint64_t bits;
    std::memcpy(&bits, &space.depth, sizeof bits);
    put32(out, static_cast<std::uint32_t>(bits));
    put32(out, static_cast<std::uint32_t>(bits >> 32));
    put32(out, static_cast<std::uint32_t>(space.depthPeriod));
    put32(out, 0);
    return out;
}

std::optional<PatternSpace> decodePatternSpace(const std::uint8_t* bytes, std::size_t size) {
    if (!bytes || size != kSize || get32(bytes) != kVersion || get32(bytes + 20) != 0) {
        return std::nullopt;
    }
    const std::uint32_t flags = get32(bytes + 4);
    if ((flags & ~(kTileable | kEvolving)) != 0) {
        return std::nullopt;
    }
    const std::uint64_t bits = get32(bytes + 8) | static_cast<std::uint64_t>(get32(bytes + 12)) << 32;
    PatternSpace space;
    std::memcpy(&space.depth, &bits, sizeof bits);
    space.depthPeriod = static_cast<std::int32_t>(get32(bytes + 16));
    space.tileable = (flags & kTileable) != 0;
    space.evolving = (flags & kEvolving) != 0;
    if (!(std::fabs(space.depth) <= kMaxPatternDepth) || space.depthPeriod < 0 || space.depthPeriod > kMaxDepthPeriod ||
        (!space.evolving && (space.depth != 0.0 || space.depthPeriod != 0))) {
        return std::nullopt;
    }
    return space;
}

} // namespace morvessan
