// The colour pass in lanes: indices in lanes of doubles, the table read a pixel
// at a time, then every byte blended in lanes of 16-bit integers.

#include "renderer/ColourRows.h"

#include "texture/Lanes.h"

#include <cstring>

namespace morvessan {

namespace {

#if defined(MORVESSAN_LANES)

// Pixels per run; the bytes of a run are a whole number of blending vectors.
constexpr std::int32_t kRun = 32;
constexpr std::int32_t kRunBytes = 3 * kRun;

template <int B>
struct ByteLanes {
    typedef std::uint8_t U8 __attribute__((vector_size(B)));
    typedef std::uint16_t U16 __attribute__((vector_size(2 * B)));
};

// W lanes of doubles for the indices, B lanes of bytes (and of 16-bit sums) for the blend.
template <int W, int B>
[[gnu::always_inline]] inline std::int32_t colourLanes(const double* values, const ColourEntry* table,
                                                       const std::uint8_t* in, std::uint8_t* out, std::int32_t n,
                                                       bool overwrite) {
    using V = typename Lanes<W>::V;
    using I = typename Lanes<W>::I;
    using U8 = typename ByteLanes<B>::U8;
    using U16 = typename ByteLanes<B>::U16;
    static_assert(kRun % W == 0 && kRunBytes % B == 0);
    const V scale = V{} + kColourIndexScale;
    const V last = V{} + static_cast<double>(kColourTableSize - 1);
    constexpr double kToInteger = 0x1.8p52; // adding it rounds a double below 2^51 to an integer
    std::int32_t done = 0;
    for (; done + kRun <= n; done += kRun) {
        // tableIndex in lanes: 0 unless x > 0 (so for not a number), else x truncated, at most 999.
        std::int64_t index[kRun];
        for (std::int32_t k = 0; k < kRun; k += W) {
            V v;
            std::memcpy(&v, values + done + k, sizeof v);
            const V x = (v + 1.0) * scale;
            const V limited = x < last ? x : last;
            const V rounded = (limited + kToInteger) - kToInteger;
            const V truncated = rounded - reinterpret_cast<V>((rounded > limited) & reinterpret_cast<I>(V{} + 1.0));
            const I whole = (reinterpret_cast<I>(truncated + kToInteger) & 1023) & (x > 0.0);
            std::memcpy(index + k, &whole, sizeof whole);
        }
        // Each pixel's entry as its three colour bytes and its alpha thrice; the
        // fourth byte written is the next pixel's first, or the spare one at the end.
        std::uint8_t colour[kRunBytes + 1];
        std::uint8_t alpha[kRunBytes + 1];
        for (std::int32_t k = 0; k < kRun; ++k) {
            const ColourEntry& entry = table[index[k]];
            const std::uint32_t a = entry.alpha * 0x01010101u;
            std::memcpy(colour + 3 * k, &entry, 4);
            std::memcpy(alpha + 3 * k, &a, 4);
        }
        const std::uint8_t* source = in + 3 * done;
        std::uint8_t* target = out + 3 * done;
        if (overwrite) {
            std::memcpy(target, colour, kRunBytes);
            continue;
        }
        for (std::int32_t k = 0; k < kRunBytes; k += B) {
            U8 s8;
            U8 c8;
            U8 a8;
            std::memcpy(&s8, source + k, sizeof s8);
            std::memcpy(&c8, colour + k, sizeof c8);
            std::memcpy(&a8, alpha + k, sizeof a8);
            const U16 s = __builtin_convertvector(s8, U16);
            const U16 c = __builtin_convertvector(c8, U16);
            const U16 a = __builtin_convertvector(a8, U16);
            // Every sum is at most 255 x 255, where x / 255 is (x + 1 + (x >> 8)) >> 8
            // exactly (checked over them all), in 16 bits.
            const U16 sum = s * (255 - a) + c * a;
            const U8 result = __builtin_convertvector((sum + 1 + (sum >> 8)) >> 8, U8);
            std::memcpy(target + k, &result, sizeof result);
        }
    }
    return done;
}

std::int32_t colourBaseline(const double* values, const ColourEntry* table, const std::uint8_t* in, std::uint8_t* out,
                            std::int32_t n, bool overwrite) {
    return colourLanes<2, 16>(values, table, in, out, n, overwrite);
}

[[gnu::target("avx2")]] std::int32_t colourAvx2(const double* values, const ColourEntry* table, const std::uint8_t* in,
                                                std::uint8_t* out, std::int32_t n, bool overwrite) {
    return colourLanes<4, 32>(values, table, in, out, n, overwrite);
}

[[gnu::target("avx512f,avx512dq,avx512vl")]] std::int32_t colourAvx512(const double* values, const ColourEntry* table,
                                                                       const std::uint8_t* in, std::uint8_t* out,
                                                                       std::int32_t n, bool overwrite) {
    return colourLanes<8, 32>(values, table, in, out, n, overwrite);
}

#endif

} // namespace

ColourRowRoutine colourRowRoutine() {
#if defined(MORVESSAN_LANES)
    return routineOfPath<ColourRowRoutine>(&colourBaseline, &colourAvx2, &colourAvx512);
#else
    return nullptr;
#endif
}

} // namespace morvessan
