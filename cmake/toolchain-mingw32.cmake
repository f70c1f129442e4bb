# Cross compilers for 32-bit Windows: Debian's i686 mingw-w64 with the posix
# thread model, run-time libraries linked in statically, SSE2 arithmetic.
set(CMAKE_SYSTEM_PROCESSOR X86)
set(MORVESSAN_MINGW_HOST i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Doubles in SSE2 registers as on x86-64, not in the x87 unit's 80-bit ones:
# the same rounding gives the same pictures as the 64-bit and native builds.
# Every processor a 32-bit host still runs on has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
