# The Windows build: libpng and libjpeg-turbo cross-built into a cached prefix
# when it is missing, GoogleTest from Debian's sources, and Wine to run programs.
if(NOT CMAKE_CROSSCOMPILING)
  return()
endif()

enable_language(RC)

set(MORVESSAN_WIN64_PREFIX "${CMAKE_SOURCE_DIR}/build/win64-deps/prefix" CACHE PATH
    "Prefix holding libpng and libjpeg-turbo cross-built for Windows")
if(NOT EXISTS "${MORVESSAN_WIN64_PREFIX}/.complete")
  message(STATUS "Cross-building libpng and libjpeg-turbo into ${MORVESSAN_WIN64_PREFIX}")
  execute_process(
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/build-win64-libs.sh" "${MORVESSAN_WIN64_PREFIX}"
    RESULT_VARIABLE libs_result)
  if(NOT libs_result EQUAL 0)
    message(FATAL_ERROR "Cross-building the Windows libraries failed (scripts/build-win64-libs.sh)")
  endif()
endif()
list(PREPEND CMAKE_FIND_ROOT_PATH "${MORVESSAN_WIN64_PREFIX}")
# zlib's static library, not its import library: nothing but system DLLs at run time.
set(ZLIB_LIBRARY "/usr/${MORVESSAN_MINGW_HOST}/lib/libz.a" CACHE FILEPATH "zlib for Windows")
set(ZLIB_INCLUDE_DIR "/usr/${MORVESSAN_MINGW_HOST}/include" CACHE PATH "zlib headers for Windows")

# Programs of this build run under Wine: ctest through the emulator, custom
# commands through MORVESSAN_WINE_RUN.
find_program(MORVESSAN_WINE NAMES wine wine64 REQUIRED)
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
