# Cross compilers for 32-bit Windows: Debian's i686 mingw-w64 with the posix
# thread model, run-time libraries linked in statically, SSE2 arithmetic.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR X86)

set(MORVESSAN_MINGW_HOST i686-w64-mingw32)
set(CMAKE_C_COMPILER ${MORVESSAN_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MORVESSAN_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${MORVESSAN_MINGW_HOST}-windres)
set(CMAKE_OBJDUMP ${MORVESSAN_MINGW_HOST}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${MORVESSAN_MINGW_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Doubles in SSE2 registers as on x86-64, not in the x87 unit's 80-bit ones:
# the same rounding gives the same pictures as the 64-bit and native builds.
# Every processor a 32-bit host still runs on has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

# Every program and the module import nothing but Windows system libraries:
# libgcc, libstdc++ and winpthread go inside.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
