# Cross compilers for 64-bit Windows: Debian's mingw-w64 with the posix thread
# model (standard threads work), run-time libraries linked in statically.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(MORVESSAN_MINGW_HOST x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
