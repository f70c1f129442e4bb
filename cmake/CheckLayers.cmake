# Fails when an include breaks the floors: a folder may include only from the
# folders below it, and only Windows folders may include the Win32 headers.
# Run as a test: cmake -DSOURCE_DIR=<tree> -P CheckLayers.cmake

cmake_minimum_required(VERSION 3.20)

# Each layer and what it may include besides itself. A file belongs to the
# longest layer name its path starts with.
set(layers
  "VXLib=" "VXLib/win32=VXLib" "VXLib/VXUTIL/win32=VXLib"
  "texture=VXLib"
  "presets=VXLib,texture"
  "resources=VXLib,texture"
  "renderer=VXLib,texture,presets"
  "dialog=VXLib,texture,presets,resources,renderer"
  "ui/win32=VXLib,resources"
  "widgets=VXLib,texture,presets,resources,renderer,dialog,ui/win32"
  "dialog/win32=VXLib,texture,presets,resources,renderer,dialog,ui/win32,widgets"
  "plugin=VXLib,texture,presets,resources,renderer,dialog"
  "host=VXLib,texture,presets,resources,renderer,dialog,plugin"
  "host/win32=VXLib,texture,presets,resources,renderer,dialog,plugin,host"
  "job=VXLib,texture,presets,resources,renderer,dialog,plugin,host"
  "cli=VXLib,texture,presets,resources,renderer,dialog,plugin,host,host/win32,dialog/win32,ui/win32,widgets,job"
  "python=VXLib,texture,presets,resources,renderer,dialog,plugin,host,job"
  "bench=VXLib,texture,presets,resources,renderer,dialog,plugin,host")
# Layers whose code runs only on Windows: the Win32 headers belong there.
set(windows_layers "VXLib/VXUTIL/win32;VXLib/win32;ui/win32;widgets;dialog/win32;host/win32")

set(names "")
foreach(entry IN LISTS layers)
  string(REPLACE "=" ";" parts "${entry}")
  list(GET parts 0 name)
  string(REPLACE "${name}=" "" allowed "${entry}")
  string(REPLACE "," ";" allowed "${allowed}")
  list(APPEND names "${name}")
  set("allowed_${name}" "${name};${allowed}")
endforeach()

# The layer of a path relative to the tree, or "" when it is none of ours.
function(layer_of path out)
  set(best "")
  foreach(name IN LISTS names)
    string(LENGTH "${name}" n)
    string(LENGTH "${best}" b)
    if(path MATCHES "^${name}/" AND n GREATER b)
      set(best "${name}")
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

set(broken "")
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.rc")
foreach(source IN LISTS sources)
  layer_of("${source}" layer)
  if(layer STREQUAL "")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      layer_of("${CMAKE_MATCH_1}" target)
      if(NOT target STREQUAL "" AND NOT target IN_LIST "allowed_${layer}")
        list(APPEND broken "${source}: ${layer}/ may not include ${CMAKE_MATCH_1}")
      endif()
    elseif(line MATCHES "<([A-Za-z]+)\\.h>")
      string(TOLOWER "${CMAKE_MATCH_1}" header)
      if(header MATCHES "^(windows|windowsx|commctrl|commdlg|shellapi|shlobj|shlwapi|mmsystem|mapi|htmlhelp|uxtheme|tlhelp32|objbase|ole2)$"
         AND NOT layer IN_LIST windows_layers)
        list(APPEND broken "${source}: portable code may not include <${CMAKE_MATCH_1}.h>")
      endif()
    endif()
  endforeach()
endforeach()

if(broken)
  list(JOIN broken "\n" text)
  message(FATAL_ERROR "Includes that break the floors (see ARCHITECTURE.md):\n${text}")
endif()
list(LENGTH sources checked)
message(STATUS "The includes of ${checked} files keep to their floors")
