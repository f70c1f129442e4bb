// MT19937 with the early 69069 seeding, our own code so the grain noise draws
// the same numbers on every platform.
#pragma once

#include <array>
#include <cstdint>

namespace morvessan {

class MersenneTwister {
public:
    static constexpr int kStateSize = 624;

    explicit MersenneTwister(std::uint32_t seed = 1) { Seed(seed); }

    // Word 0 = seed (0 is taken as 1), word k = word k-1 * 69069.
    void Seed(std::uint32_t seed);
    // The next tempered 32-bit output.
    std::uint32_t Next();

    const std::array<std::uint32_t, kStateSize>& State() const { return m_state; }

private:
    void Generate();

    std::array<std::uint32_t, kStateSize> m_state{};
    int m_index = kStateSize;
};

} // namespace morvessan
