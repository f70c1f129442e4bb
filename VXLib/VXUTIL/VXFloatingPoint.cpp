// Saving, setting and restoring the floating-point environment on x86 and x86-64
// (SSE's control and status register; the x87 unit's environment on 32-bit x86,
// whose libraries may still compute there); elsewhere through <cfenv>.
#include "VXLib/VXUTIL/VXFloatingPoint.h"

#if defined(__i386__) || defined(__x86_64__) || defined(_M_IX86) || defined(_M_X64)
#include <xmmintrin.h>
#define MORVESSAN_X86 1
#else
#include <cfenv>
#endif

namespace morvessan {

namespace {

#if defined(MORVESSAN_X86) && (defined(__i386__) || defined(_M_IX86))
// All six exceptions masked, 53-bit precision, round to nearest.
constexpr std::uint16_t kOwnX87Control = 0x027F;

void setX87Control(std::uint16_t control) { __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(control)); }
#endif

} // namespace

VXFloatingPointScope::VXFloatingPointScope() {
#if defined(MORVESSAN_X86)
    m_mxcsr = _mm_getcsr();
#if defined(__i386__) || defined(_M_IX86)
    // fnstenv also masks every x87 exception, so nothing traps from here on.
    __asm__ volatile("fnstenv %0" : "=m"(m_x87));
    setX87Control(kOwnX87Control);
#endif
    _mm_setcsr(kOwnMxcsr);
#else
    static_assert(sizeof(std::fenv_t) <= sizeof m_x87, "the environment must fit");
    std::feholdexcept(reinterpret_cast<std::fenv_t*>(m_x87));
    std::fesetround(FE_TONEAREST);
#endif
    m_saved = true;
}

VXFloatingPointScope::~VXFloatingPointScope() {
    if (!m_saved) {
        return;
    }
#if defined(MORVESSAN_X86)
#if defined(__i386__) || defined(_M_IX86)
    __asm__ volatile("fldenv %0" : : "m"(m_x87));
#endif
    _mm_setcsr(m_mxcsr);
#else
    std::fesetenv(reinterpret_cast<const std::fenv_t*>(m_x87));
#endif
}

void vxUseOwnFloatingPoint() {
#if defined(MORVESSAN_X86)
#if defined(__i386__) || defined(_M_IX86)
    setX87Control(kOwnX87Control);
#endif
    _mm_setcsr(kOwnMxcsr);
#else
    std::fenv_t ignored;
    std::feholdexcept(&ignored);
    std::fesetround(FE_TONEAREST);
#endif
}

} // namespace morvessan
