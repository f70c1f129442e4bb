// The polynomials and the first reduction step of our sine and cosine, written
// once for plain doubles and for lanes of them, so both give the same bits.
#pragma once

namespace morvessan::trig {

// 2/pi, pi/2 in three parts (each 33 bits and its tail), and the number whose
// addition rounds a double below 2^51 in size to an integer.
inline constexpr double kInvPio2 = 0x1.45f306dc9c883p-1;
inline constexpr double kPio2_1 = 0x1.921fb544p+0;
inline constexpr double kPio2_1t = 0x1.0b4611a626331p-34;
inline constexpr double kPio2_2 = 0x1.0b4611a6p-34;
inline constexpr double kPio2_2t = 0x1.3198a2e037073p-69;
inline constexpr double kPio2_3 = 0x1.3198a2ep-69;
inline constexpr double kPio2_3t = 0x1.b839a252049c1p-104;
inline constexpr double kToInteger = 0x1.8p52;

// Minimax polynomials of sin and cos on [-pi/4, pi/4]; y is the tail of x + y.
template <typename T>
[[gnu::always_inline]] inline T kernelSin(T x, T y) {
    constexpr double s1 = -0x1.5555555555549p-3;
    constexpr double s2 = 0x1.111111110f8a6p-7;
    constexpr double s3 = -0x1.a01a019c161d5p-13;
    constexpr double s4 = 0x1.71de357b1fe7dp-19;
    constexpr double s5 = -0x1.ae5e68a2b9cebp-26;
    constexpr double s6 = 0x1.5d93a5acfd57cp-33;
    const T z = x * x;
    const T w = z * z;
    const T r = s2 + z * (s3 + z * s4) + z * w * (s5 + z * s6);
    const T v = z * x;
    return x - ((z * (0.5 * y - v * r) - y) - v * s1);
}

template <typename T>
[[gnu::always_inline]] inline T kernelCos(T x, T y) {
    constexpr double c1 = 0x1.555555555554cp-5;
    constexpr double c2 = -0x1.6c16c16c15177p-10;
    constexpr double c3 = 0x1.a01a019cb159p-16;
    constexpr double c4 = -0x1.27e4f809c52adp-22;
    constexpr double c5 = 0x1.1ee9ebdb4b1c4p-29;
    constexpr double c6 = -0x1.8fae9be8838d4p-37;
    const T z = x * x;
    const T w = z * z;
    const T r = z * (c1 + z * (c2 + z * c3)) + w * w * (c4 + z * (c5 + z * c6));
    const T hz = 0.5 * z;
    const T one = 1.0 - hz;
    return one + (((1.0 - one) - hz) + (z * r - x * y));
}

} // namespace morvessan::trig
