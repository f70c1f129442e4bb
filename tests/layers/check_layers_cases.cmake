# One case of the include check: makes a tree for CASE under WORK, runs
# cmake/CheckLayers.cmake of REPO on it, and fails unless the check passes a clean
# tree and fails a broken one, naming each break.
# cmake -DCASE=<name> -DREPO=<repository> -DWORK=<folder> -P check_layers_cases.cmake

set(tree "${WORK}/${CASE}")
file(REMOVE_RECURSE "${tree}")
set(picture "${REPO}/ARCHITECTURE.md")

# Writes a file of the tree, counting those the check is to read.
set(written 0)
function(put path)
  string(JOIN "\n" text ${ARGN})
  file(WRITE "${tree}/${path}" "${text}\n")
  if(NOT path MATCHES "^build/")
    math(EXPR count "${written} + 1")
    set(written ${count} PARENT_SCOPE)
  endif()
endfunction()

# What every case starts from: includes that keep to the floors, among them the
# ones a looser reading would refuse.
put(VXLib/VXImage.h "#pragma once")
put(VXLib/VXUTIL/VXPath.h "#pragma once")
put(VXLib/VXUTIL/VXPath.cpp "#include \"VXLib/VXUTIL/VXPath.h\"" "#include <unistd.h>")
# A Win32 part includes the folder it belongs to, and the Win32 headers.
put(VXLib/VXUTIL/win32/Platform.h "#pragma once" "#include \"VXLib/VXUTIL/VXPath.h\"")
put(VXLib/VXUTIL/win32/Platform.cpp "#include \"Platform.h\"" "#include \"../VXPath.h\"" "#include <windows.h>"
  "#include <d2d1.h>")
put(texture/Noise.h "#pragma once" "#include \"VXLib/VXImage.h\"")
# Beside itself, plainly and through "./"; the C runtime's Windows headers are no Win32 headers.
put(texture/Noise.cpp "#include \"Noise.h\"" "#include \"./Noise.h\"" "  #  include <vector>" "#include <png.h>"
  "#include <process.h>" "#include <io.h>")
put(presets/Library.h "#pragma once" "#include \"texture/Noise.h\"")
put(resources/pipl/Pipl.h "#pragma once")
put(resources/dialogs/Ids.h "#define IDD_MAIN 100")
# A resource script is compiled for Windows alone.
put(resources/dialogs/Main.rc "#include <windows.h>" "#include \"Ids.h\"")
put(renderer/Tiles.h "#pragma once")
put(renderer/Tiles.cpp "#include \"Tiles.h\"" "#include \"../texture/Noise.h\"" "#include <texture/Noise.h>"
  "#include \"resources/pipl/Pipl.h\"" "#include \"..\\\\presets\\\\Library.h\"")
put(dialog/Model.h "#pragma once" "#include \"renderer/Tiles.h\"" "#include \"resources/dialogs/Ids.h\"")
put(dialog/Model.cpp "#include \"Model.h\"")
put(windows/dialogs/Page.h "#pragma once" "#include \"dialog/Model.h\"" "#include <commctrl.h>")
put(windows/dialogs/Page.cpp "#include \"Page.h\"" "#include \"../widgets/Strip.h\"" "#include <windowsx.h>")
put(windows/widgets/Strip.h "#pragma once" "#include \"windows/toolkit/Wnd.h\"" "#include \"dialog/Model.h\"")
put(windows/toolkit/Wnd.h "#pragma once" "#include <windows.h>" "#include <uxtheme.h>")
put(plugin/Plugin.cpp "#include \"dialog/Model.h\"")
put(host/win32/Module.h "#pragma once" "#include \"host/Host.h\"" "#include <windows.h>")
put(host/Host.h "#pragma once" "#include \"plugin/Plugin.h\"")
put(job/Job.h "#pragma once" "#include \"host/Host.h\"")
put(cli/main.cpp "#include \"job/Job.h\"" "#if defined(_WIN32)" "#include \"host/win32/Module.h\"" "#endif")
put(python/Module.cpp "#include \"job/Job.h\"")
put(bench/bench.cpp "#include \"host/Host.h\"")
# The tests stand on no floor: they may include anything.
put(tests/host/test_host.cpp "#include \"cli/main.cpp\"" "#include <windows.h>")
# A build tree is no part of the sources.
put(build/native/CMakeCache.txt "")
put(build/native/generated/Table.cpp "#include \"host/Host.h\"" "#include <windows.h>")

set(expected "")
if(CASE STREQUAL "clean")
elseif(CASE STREQUAL "relative_upward")
  put(texture/Field.cpp "#include \"../renderer/Tiles.h\"")
  list(APPEND expected "texture/Field.cpp: texture/ (floor 1) may not include ../renderer/Tiles.h (renderer/, floor 3)")
elseif(CASE STREQUAL "beside_upward")
  # Resolved from the including file's folder: windows/dialogs/ stands a floor above the widgets.
  put(windows/widgets/Pages.cpp "#include \"../dialogs/Page.h\"")
  list(APPEND expected "windows/widgets/Pages.cpp: windows/widgets/ (floor 5) may not include ../dialogs/Page.h (windows/dialogs/, floor 6)")
elseif(CASE STREQUAL "bracketed_upward")
  put(presets/Thumbs.cpp "#include <renderer/Tiles.h>")
  list(APPEND expected "presets/Thumbs.cpp: presets/ (floor 2) may not include renderer/Tiles.h (renderer/, floor 3)")
elseif(CASE STREQUAL "same_floor")
  # Beside is not below: presets and resources share floor 2.
  put(presets/Pipl.cpp "#include \"resources/pipl/Pipl.h\"")
  put(host/Modules.cpp "#include \"win32/Module.h\"")
  # The two front ends of the job stand side by side: neither includes the other.
  put(cli/Bridge.cpp "#include \"python/Module.cpp\"")
  list(APPEND expected "cli/Bridge.cpp: cli/ (floor 11) may not include python/Module.cpp (python/, floor 11)"
 "presets/Pipl.cpp: presets/ (floor 2) may not include resources/pipl/Pipl.h (resources/, floor 2)"
    "host/Modules.cpp: host/ (floor 8) may not include win32/Module.h (host/win32/, floor 8)")
elseif(CASE STREQUAL "windows_part_from_its_folder")
  put(VXLib/VXUTIL/VXPlatform.cpp "#include \"win32/Platform.h\"")
  list(APPEND expected "VXLib/VXUTIL/VXPlatform.cpp: VXLib/ (floor 0) may not include win32/Platform.h (VXLib/VXUTIL/win32/, floor 0)")
elseif(CASE STREQUAL "win32_headers")
  put(texture/Draw.cpp "#include <d2d1.h>" "#include <D2D1_1.h>")
  put(renderer/Clock.cpp "#include \"Windows.h\"")
  put(presets/Dialogs.cpp "#include <shobjidl_core.h>" "#include <WinSock2.h>")
  put(plugin/Module.cpp "#include <tlhelp32.h>")
  list(APPEND expected "texture/Draw.cpp: portable code may not include d2d1.h"
    "texture/Draw.cpp: portable code may not include D2D1_1.h"
    "renderer/Clock.cpp: portable code may not include Windows.h"
    "presets/Dialogs.cpp: portable code may not include shobjidl_core.h"
    "presets/Dialogs.cpp: portable code may not include WinSock2.h"
    "plugin/Module.cpp: portable code may not include tlhelp32.h")
elseif(CASE STREQUAL "no_floor")
  put(tools/Tool.cpp "#include \"host/Host.h\"")
  list(APPEND expected "tools/Tool.cpp: stands on no floor of cmake/Floors.cmake")
elseif(CASE STREQUAL "picture_moves_a_folder")
  file(READ "${REPO}/ARCHITECTURE.md" text)
  string(REPLACE "\n   3                                       renderer" "\n   5                                       renderer" moved "${text}")
  if(moved STREQUAL text)
    message(FATAL_ERROR "ARCHITECTURE.md's picture has no line '3 ... renderer' to move")
  endif()
  set(picture "${WORK}/${CASE}.md")
  file(WRITE "${picture}" "${moved}")
  list(APPEND expected "ARCHITECTURE.md shows '5 renderer', which is not a row of cmake/Floors.cmake"
    "cmake/Floors.cmake has the row '3 renderer', which ARCHITECTURE.md's picture does not show")
elseif(CASE STREQUAL "picture_drops_a_windows_mark")
  file(READ "${REPO}/ARCHITECTURE.md" text)
  string(REPLACE "host/win32*" "host/win32" unmarked "${text}")
  if(unmarked STREQUAL text)
    message(FATAL_ERROR "ARCHITECTURE.md's picture does not show host/win32*")
  endif()
  set(picture "${WORK}/${CASE}.md")
  file(WRITE "${picture}" "${unmarked}")
  list(APPEND expected "cmake/Floors.cmake has the row '8 host/win32*', which ARCHITECTURE.md's picture does not show")
else()
  message(FATAL_ERROR "No case ${CASE}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} -DPICTURE=${picture} -P ${REPO}/cmake/CheckLayers.cmake
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
# The message comes wrapped; compare it with its lines joined.
string(REGEX REPLACE "[ \n]+" " " flat "${output}")
if(NOT expected)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "The check refused a tree that keeps to the floors:\n${output}")
  endif()
  # Every file read, none of the build tree's.
  if(NOT output MATCHES "The includes of ${written} files keep to their floors")
    message(FATAL_ERROR "The check did not read the ${written} files of the tree:\n${output}")
  endif()
  return()
endif()
if(result EQUAL 0)
  message(FATAL_ERROR "The check passed a tree with breaks:\n${output}")
endif()
string(REGEX MATCHALL "\n  [^ \n][^\n]*(\n  [^ \n][^\n]*)*" found "${output}")
foreach(break IN LISTS expected)
  string(FIND "${flat}" "${break}" at)
  if(at LESS 0)
    message(FATAL_ERROR "The check did not name the break '${break}':\n${output}")
  endif()
endforeach()
# Nothing else: each break is reported once, and only the breaks made here.
string(REGEX MATCHALL ": (portable code may not|[A-Za-z/]+ \\(floor [0-9]+\\) may not|stands on no floor)|ARCHITECTURE.md shows|cmake/Floors.cmake has the row"
  reported "${flat}")
list(LENGTH reported reported_count)
list(LENGTH expected expected_count)
if(NOT reported_count EQUAL expected_count)
  message(FATAL_ERROR "The check reported ${reported_count} breaks, not ${expected_count}:\n${output}")
endif()
