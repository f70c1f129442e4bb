// PatternSpace: how a render extends the pattern beyond the plane of a stored
// block (a tile that wraps, a third noise dimension), and its bytes between host and plug-in.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace morvessan {

struct PatternSpace {
    // The picture's right edge continues into its left and its bottom into its top.
    bool tileable = false;
    // The noise gains a third dimension, sampled at `depth` (lattice cells of the first octave).
    bool evolving = false;
    double depth = 0.0;
    // Lattice cells of depth after which the noise repeats (a loop); 0 for never.
    std::int32_t depthPeriod = 0;

    // What a stored block alone renders: the plane, unchanged.
    bool plain() const { return !tileable && !evolving; }

    friend bool operator==(const PatternSpace&, const PatternSpace&) = default;
};

// Limits a host may ask for: beyond them the lattice coordinates lose their fraction.
inline constexpr double kMaxPatternDepth = 1099511627776.0; // 2^40
inline constexpr std::int32_t kMaxDepthPeriod = 1 << 24;

// The host property that carries a pattern space: a complex property of the
// plug-in's signature under this key.
inline constexpr std::uint32_t kPatternSpaceSignature = 0x4D727673; // 'Mrvs'
inline constexpr std::uint32_t kPatternSpaceKey = 0x6D765074;       // 'mvPt'

// 24 bytes, little-endian: version 1, flags (1 tileable, 2 evolving), depth as
// a double, the depth period, a reserved zero.
inline constexpr std::size_t kPatternSpaceSize = 24;
std::vector<std::uint8_t> encodePatternSpace(const PatternSpace& space);
// The space those bytes hold, or nothing for bytes no host of ours writes
// (another version or size, unknown flags, a depth or period out of range).
std::optional<PatternSpace> decodePatternSpace(const std::uint8_t* bytes, std::size_t size);

} // namespace morvessan
