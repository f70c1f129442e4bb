# What both Windows cross toolchains share: Debian's mingw-w64 for the host
# triple MORVESSAN_MINGW_HOST with the posix thread model, run-time libraries inside.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${MORVESSAN_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MORVESSAN_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${MORVESSAN_MINGW_HOST}-windres)
set(CMAKE_OBJDUMP ${MORVESSAN_MINGW_HOST}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${MORVESSAN_MINGW_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program and the module import nothing but Windows system libraries:
# libgcc, libstdc++ and winpthread go inside.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
