// The MT19937 generator: 624 words, middle distance 397, standard tempering.
#include "texture/MersenneTwister.h"

namespace morvessan {

namespace {
constexpr int kMiddle = 397;
constexpr std::uint32_t kMatrixA = 0x9908B0DFu;
constexpr std::uint32_t kUpperMask = 0x80000000u;
constexpr std::uint32_t kLowerMask = 0x7FFFFFFFu;
} // namespace

void MersenneTwister::Seed(std::uint32_t seed) {
    m_state[0] = seed == 0 ? 1u : seed;
    for (int k = 1; k < kStateSize; ++k) {
        m_state[k] = m_state[k - 1] * 69069u;
    }
    m_index = kStateSize;
}

void MersenneTwister::Generate() {
    for (int k = 0; k < kStateSize; ++k) {
        const std::uint32_t y = (m_state[k] & kUpperMask) | (m_state[(k + 1) % kStateSize] & kLowerMask);
        m_state[k] = m_state[(k + kMiddle) % kStateSize] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
    }
    m_index = 0;
}

std::uint32_t MersenneTwister::Next() {
    if (m_index >= kStateSize) {
        Generate();
    }
    std::uint32_t y = m_state[m_index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

} // namespace morvessan
