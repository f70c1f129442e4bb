# The studio's two libraries from Debian: cpp-httplib (natively the packaged
# library, compiled with the options its pkg-config file names; in a Windows build
# its header-only form from Debian's source package, made ready by
# scripts/build-windows-libs.sh) and nlohmann's JSON (headers alone, also read from
# /usr/include by the Windows build through a folder holding only them).
# Sets MORVESSAN_STUDIO_READY in the caller: OFF when a Windows build cannot have them.
function(morvessan_studio_dependencies_found)
  if(CMAKE_CROSSCOMPILING AND (NOT EXISTS ${MORVESSAN_DEPS_PREFIX}/include/httplib.h OR NOT EXISTS /usr/include/nlohmann/json.hpp))
    message(WARNING "the studio is left out of this build: cpp-httplib's header is not in ${MORVESSAN_DEPS_PREFIX}/include (scripts/build-windows-libs.sh puts it there)")
    set(MORVESSAN_STUDIO_READY OFF PARENT_SCOPE)
  else()
    set(MORVESSAN_STUDIO_READY ON PARENT_SCOPE)
  endif()
endfunction()

function(morvessan_studio_dependencies target)
  if(NOT CMAKE_CROSSCOMPILING)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(CPPHTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
    find_package(nlohmann_json 3 REQUIRED)
    target_link_libraries(${target} PUBLIC PkgConfig::CPPHTTPLIB nlohmann_json::nlohmann_json)
    return()
  endif()
  set(headers ${CMAKE_BINARY_DIR}/studio-headers)
  file(MAKE_DIRECTORY ${headers})
  file(COPY /usr/include/nlohmann DESTINATION ${headers})
  target_include_directories(${target} SYSTEM PUBLIC ${headers} ${MORVESSAN_DEPS_PREFIX}/include)
  target_link_libraries(${target} PUBLIC ws2_32 crypt32)
endfunction()
