# Fails when an include breaks the floors of cmake/Floors.cmake (a folder includes
# only itself and the floors below, only Windows folders include the Win32 headers,
# every source outside the tests stands on a floor), or when that table and the
# picture under "## The floors" in ARCHITECTURE.md disagree.
# Run as a test: cmake -DSOURCE_DIR=<tree> [-DPICTURE=<ARCHITECTURE.md>] -P CheckLayers.cmake

cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/Floors.cmake)
if(NOT DEFINED PICTURE)
  set(PICTURE "${SOURCE_DIR}/ARCHITECTURE.md")
endif()

# Windows SDK headers, by name: the Win32 API, COM and the shell, the common
# controls and dialogs, graphics (GDI, GDI+, Direct2D, DirectWrite, WIC, DirectX),
# multimedia, networking and security. Every name starting with "win", "d2d1",
# "d3d", "dxgi" or "dwrite" counts too. Not here: the C runtime's own headers
# (io.h, process.h, tchar.h), which mingw-w64 gives portable code.
set(win32_headers
  windows windowsx windef winbase winnt winuser wingdi winreg winerror winnls winver winresrc
  winsvc winsock winsock2 ws2def ws2tcpip mswsock iphlpapi wininet winhttp wincrypt wintrust
  bcrypt ncrypt dpapi wincred credui sddl aclapi accctrl security sspi schannel userenv lmcons
  lmerr lmaccess lmshare wtsapi32 psapi tlhelp32 dbghelp imagehlp winioctl winternl ntstatus
  ntdef ntsecapi setupapi cfgmgr32 devguid dbt hidsdi hidpi powrprof winspool
  processthreadsapi synchapi fileapi handleapi libloaderapi memoryapi sysinfoapi
  errhandlingapi consoleapi heapapi ioapiset namedpipeapi profileapi securitybaseapi
  stringapiset threadpoolapiset debugapi jobapi versionhelpers intsafe strsafe pathcch
  commctrl commdlg cderr dlgs richedit richole imm dde ddeml prsht
  shellapi shlobj shlobj_core shlwapi shobjidl shobjidl_core shtypes shlguid knownfolders
  shellscalingapi propkey propsys propvarutil propidl
  objbase objidl objidlbase ole2 oleauto olectl oleidl ocidl oaidl unknwn wtypes wtypesbase
  guiddef initguid comdef comip comutil combaseapi rpc rpcdce rpcndr
  uxtheme vssym32 vsstyle dwmapi gdiplus d2d1helper d2dbasetypes wincodec wincodecsdk dcomp
  mmsystem mmreg mmsyscom timeapi dsound dshow vfw mfapi mfidl mfreadwrite audioclient
  mmdeviceapi endpointvolume mapi mapix htmlhelp msi msiquery wbemidl wbemcli evntprov evntrace)
list(JOIN win32_headers "|" win32_names)
set(win32_header_pattern "^(${win32_names}|win[a-z0-9_]*|d2d1[a-z0-9_]*|d3d[a-z0-9_]*|dxgi[a-z0-9_]*|dwrite[a-z0-9_]*)\\.h$")

set(broken "")

# The picture: the folders in its two columns (each starting where its title does
# in the first line) and any name marked "*", on the floor numbered at the left.
file(READ "${PICTURE}" markdown)
string(FIND "${markdown}" "\n## The floors" at)
if(at LESS 0)
  message(FATAL_ERROR "${PICTURE}: no section \"## The floors\"")
endif()
string(SUBSTRING "${markdown}" ${at} -1 markdown)
if(NOT markdown MATCHES "\n```[^\n]*\n([^`]*)\n```")
  message(FATAL_ERROR "${PICTURE}: no picture under \"## The floors\"")
endif()
string(REPLACE ";" "," picture "${CMAKE_MATCH_1}")
string(REPLACE "\n" ";" picture "${picture}")
list(POP_FRONT picture title)
list(POP_FRONT picture rule)
string(FIND "${title}" "Windows" windows_column)
string(FIND "${title}" "portable" portable_column)
if(windows_column LESS 0 OR portable_column LESS 0)
  message(FATAL_ERROR "${PICTURE}: the picture's first line names no \"Windows\" and \"portable\" columns")
endif()
set(shown "")
set(floor "")
foreach(line IN LISTS picture)
  if(line MATCHES "^ *([0-9]+) ")
    set(floor "${CMAKE_MATCH_1}")
  endif()
  set(names "")
  string(LENGTH "${line}" length)
  foreach(column ${windows_column} ${portable_column})
    math(EXPR before "${column} - 1")
    if(before LESS length)
      string(SUBSTRING "${line}" ${before} -1 rest)
      if(rest MATCHES "^ ([A-Za-z][A-Za-z0-9_/]*\\*?)")
        list(APPEND names "${CMAKE_MATCH_1}")
      endif()
    endif()
  endforeach()
  string(REGEX MATCHALL "[A-Za-z][A-Za-z0-9_/]*\\*" marked "${line}")
  list(APPEND names ${marked})
  foreach(name IN LISTS names)
    if(floor STREQUAL "")
      message(FATAL_ERROR "${PICTURE}: ${name} stands above the first floor number")
    endif()
    list(APPEND shown "${floor} ${name}")
  endforeach()
endforeach()
list(REMOVE_DUPLICATES shown)
set(table "${MORVESSAN_FLOORS}")
foreach(row IN LISTS shown)
  if(NOT row IN_LIST table)
    list(APPEND broken "ARCHITECTURE.md shows '${row}', which is not a row of cmake/Floors.cmake")
  endif()
endforeach()
foreach(row IN LISTS table)
  if(NOT row IN_LIST shown)
    list(APPEND broken "cmake/Floors.cmake has the row '${row}', which ARCHITECTURE.md's picture does not show")
  endif()
endforeach()

# What FROM may include from TO: itself, the lower floors, the folder it is a part of.
function(may_include from to out)
  morvessan_floor_owner("${from}" owner)
  if(to STREQUAL from OR to STREQUAL owner OR MORVESSAN_FLOOR_OF_${to} LESS MORVESSAN_FLOOR_OF_${from})
    set(${out} ON PARENT_SCOPE)
  else()
    set(${out} OFF PARENT_SCOPE)
  endif()
endfunction()

# Every source of the tree but what git ignores (build trees, the libraries
# cross-built for Windows) and build trees (a CMakeCache.txt in the folder or
# one below it) in a tree that is no repository.
set(sources "")
set(patterns *.h *.hpp *.hh *.inl *.ipp *.c *.cc *.cpp *.cxx *.rc *.rc.in)
file(GLOB entries RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
set(folders "")
foreach(entry IN LISTS entries)
  file(GLOB caches "${SOURCE_DIR}/${entry}/CMakeCache.txt" "${SOURCE_DIR}/${entry}/*/CMakeCache.txt")
  if(IS_DIRECTORY "${SOURCE_DIR}/${entry}" AND NOT entry MATCHES "^\\." AND NOT caches)
    list(APPEND folders "${entry}/")
  endif()
endforeach()
find_program(GIT git)
if(GIT AND folders)
  execute_process(COMMAND ${GIT} -C "${SOURCE_DIR}" rev-parse --show-toplevel
    OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE top_result ERROR_QUIET)
  file(REAL_PATH "${SOURCE_DIR}" real_source)
endif()
# Only a repository's own top: a tree made inside another's ignored folder is all ignored.
if(GIT AND folders AND top_result EQUAL 0 AND top STREQUAL real_source)
  execute_process(COMMAND ${GIT} -C "${SOURCE_DIR}" check-ignore ${folders}
    OUTPUT_VARIABLE ignored RESULT_VARIABLE ignore_result ERROR_QUIET)
  string(REGEX REPLACE "\n$" "" ignored "${ignored}")
  string(REPLACE "\n" ";" ignored "${ignored}")
  if(ignored)
    list(REMOVE_ITEM folders ${ignored})
  endif()
endif()
foreach(entry IN LISTS folders)
  string(REGEX REPLACE "/$" "" entry "${entry}")
  set(globs "")
  foreach(pattern IN LISTS patterns)
    list(APPEND globs "${SOURCE_DIR}/${entry}/${pattern}")
  endforeach()
  file(GLOB_RECURSE found RELATIVE "${SOURCE_DIR}" ${globs})
  list(APPEND sources ${found})
endforeach()

foreach(source IN LISTS sources)
  morvessan_folder_of("${source}" folder)
  if(folder STREQUAL "")
    string(REGEX REPLACE "/.*" "" top "${source}")
    if(NOT top IN_LIST MORVESSAN_OFF_FLOORS)
      list(APPEND broken "${source}: stands on no floor of cmake/Floors.cmake")
    endif()
    continue()
  endif()
  get_filename_component(here "${source}" DIRECTORY)
  # A resource script is compiled for Windows alone, wherever it lies.
  set(windows_file ${MORVESSAN_FLOOR_WINDOWS_${folder}})
  if(source MATCHES "\\.rc(\\.in)?$")
    set(windows_file ON)
  endif()
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    if(NOT line MATCHES "#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
      continue()
    endif()
    set(quoted "${CMAKE_MATCH_1}")
    string(REPLACE "\\" "/" header "${CMAKE_MATCH_2}")
    # Where the compiler finds it: a quoted name first beside the including file,
    # then (like every bracketed one) under the tree's root, our one include folder.
    set(target "")
    if(quoted STREQUAL "\"" AND (header MATCHES "^\\.\\.?/" OR EXISTS "${SOURCE_DIR}/${here}/${header}"))
      cmake_path(SET target NORMALIZE "${here}/${header}")
    elseif(EXISTS "${SOURCE_DIR}/${header}" OR quoted STREQUAL "\"")
      cmake_path(SET target NORMALIZE "${header}")
    endif()
    set(to "")
    set(in_tree OFF)
    if(NOT target STREQUAL "")
      morvessan_folder_of("${target}" to)
      if(EXISTS "${SOURCE_DIR}/${target}" AND NOT IS_DIRECTORY "${SOURCE_DIR}/${target}")
        set(in_tree ON)
      endif()
    endif()
    if(NOT to STREQUAL "")
      may_include("${folder}" "${to}" allowed)
      if(NOT allowed)
        list(APPEND broken "${source}: ${folder}/ (floor ${MORVESSAN_FLOOR_OF_${folder}}) may not include ${header} (${to}/, floor ${MORVESSAN_FLOOR_OF_${to}})")
      endif()
    elseif(NOT in_tree AND NOT windows_file)
      get_filename_component(name "${header}" NAME)
      string(TOLOWER "${name}" name)
      if(name MATCHES "${win32_header_pattern}")
        list(APPEND broken "${source}: portable code may not include ${header}")
      endif()
    endif()
  endforeach()
endforeach()

if(broken)
  list(JOIN broken "\n" text)
  message(FATAL_ERROR "The floors are broken (see ARCHITECTURE.md and cmake/Floors.cmake):\n${text}")
endif()
list(LENGTH sources checked)
message(STATUS "The includes of ${checked} files keep to their floors")
