// The floating-point environment the plug-in computes in, whatever the host set:
// round to nearest, every exception masked, no flushing of tiny numbers to zero.
#pragma once

#include <cstdint>

namespace morvessan {

// Hosts may call with exceptions unmasked (a divide by zero then ends the host),
// another rounding mode (other pixels) or flush-to-zero. A scope saves the caller's
// environment (SSE's MXCSR; on 32-bit x86 the x87 unit's too), sets ours, and
// puts the caller's back, its flags included, when it ends.
class VXFloatingPointScope {
public:
    VXFloatingPointScope();
    ~VXFloatingPointScope();
    VXFloatingPointScope(const VXFloatingPointScope&) = delete;
    VXFloatingPointScope& operator=(const VXFloatingPointScope&) = delete;

private:
    std::uint32_t m_mxcsr = 0;
    alignas(16) std::uint8_t m_x87[28] = {}; // the x87 environment, as fnstenv stores it
    bool m_saved = false;
};

// Sets our environment on a thread of our own, for the rest of its life.
void vxUseOwnFloatingPoint();

// MXCSR with every exception masked, round to nearest, no flush-to-zero or
// denormals-are-zero: the processor's own default.
inline constexpr std::uint32_t kOwnMxcsr = 0x1F80;

} // namespace morvessan
