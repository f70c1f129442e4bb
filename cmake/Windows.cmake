# The Windows build: libpng, libjpeg-turbo, libexif and libdeflate cross-built into
# a cached prefix when it is missing, GoogleTest from Debian's sources, and Wine to
# run programs.
if(NOT CMAKE_CROSSCOMPILING)
  return()
endif()

enable_language(RC)

# win64 or win32: names the libraries' prefix, the Wine loader and the prefix's kind.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(MORVESSAN_WINDOWS_ARCH win32)
else()
  set(MORVESSAN_WINDOWS_ARCH win64)
endif()

set(MORVESSAN_DEPS_PREFIX "${CMAKE_SOURCE_DIR}/build/${MORVESSAN_WINDOWS_ARCH}-deps/prefix" CACHE PATH
    "Prefix holding libpng, libjpeg-turbo, libexif and libdeflate cross-built for Windows, and cpp-httplib's header")
if(NOT EXISTS "${MORVESSAN_DEPS_PREFIX}/.complete" OR NOT EXISTS "${MORVESSAN_DEPS_PREFIX}/lib/libexif.a"
   OR NOT EXISTS "${MORVESSAN_DEPS_PREFIX}/lib/libdeflate.a" OR NOT EXISTS "${MORVESSAN_DEPS_PREFIX}/include/httplib.h")
  message(STATUS "Cross-building libpng, libjpeg-turbo, libexif and libdeflate into ${MORVESSAN_DEPS_PREFIX}")
  execute_process(
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/build-windows-libs.sh" ${MORVESSAN_WINDOWS_ARCH} "${MORVESSAN_DEPS_PREFIX}"
    RESULT_VARIABLE libs_result)
  if(NOT libs_result EQUAL 0)
    message(FATAL_ERROR "Cross-building the Windows libraries failed (scripts/build-windows-libs.sh)")
  endif()
endif()
list(PREPEND CMAKE_FIND_ROOT_PATH "${MORVESSAN_DEPS_PREFIX}")
# zlib's static library, not its import library: nothing but system DLLs at run time.
set(ZLIB_LIBRARY "/usr/${MORVESSAN_MINGW_HOST}/lib/libz.a" CACHE FILEPATH "zlib for Windows")
set(ZLIB_INCLUDE_DIR "/usr/${MORVESSAN_MINGW_HOST}/include" CACHE PATH "zlib headers for Windows")

# Programs of this build run under Wine: ctest through the emulator, custom
# commands through MORVESSAN_WINE_RUN.
# The loader of the program's own width, not Debian's wine wrapper: with wine32
# installed the wrapper starts the 32-bit loader, which cannot start a program
# in a 64-bit prefix made without the 32-bit half.
if(MORVESSAN_WINDOWS_ARCH STREQUAL "win32")
  set(wine_loader wine)
else()
  set(wine_loader wine64)
endif()
find_program(MORVESSAN_WINE_LOADER NAMES ${wine_loader} PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(MORVESSAN_WINE_LOADER NAMES ${wine_loader} wine REQUIRED)
find_program(MORVESSAN_WINESERVER NAMES wineserver wineserver64
  PATHS /usr/lib/wine /usr/lib/x86_64-linux-gnu/wine REQUIRED)
set(MORVESSAN_WINEPREFIX "${CMAKE_BINARY_DIR}/wine-prefix")
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(MORVESSAN_WINE_RUN "${CMAKE_BINARY_DIR}/wine-run")
set(CMAKE_CROSSCOMPILING_EMULATOR "${MORVESSAN_WINE_RUN}")

# GoogleTest compiled for Windows from Debian's sources (googletest package).
set(MORVESSAN_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest sources for the cross build")
if(MORVESSAN_TESTS AND NOT TARGET GTest::gtest)
  if(NOT EXISTS "${MORVESSAN_GTEST_SOURCE}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${MORVESSAN_GTEST_SOURCE} (Debian package googletest)")
  endif()
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory("${MORVESSAN_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
  foreach(lib gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
endif()
