# The floors of ARCHITECTURE.md as one table. The include check
# (cmake/CheckLayers.cmake, which also holds the table to the picture there) and the
# build (cmake/FloorLibraries.cmake: a library per floor, linked to the floor below)
# both read it, so the rule cannot differ between them.
#
# One row a folder: its floor, then its path; "*" after the path marks a folder
# built for Windows alone, the only kind that may include the Win32 headers. A file
# belongs to the longest folder of the table its path starts with. A folder
# includes and links only itself and the folders on lower floors; a Windows folder
# inside a folder of its own floor is a part of that folder (its Win32 side): it may
# include that folder and is built into its library.
set(MORVESSAN_FLOORS
  "0 VXLib"
  "0 VXLib/win32*"
  "0 VXLib/VXUTIL/win32*"
  "1 texture"
  "2 presets"
  "2 resources"
  "3 renderer"
  "4 dialog"
  "4 windows/toolkit*"
  "5 windows/widgets*"
  "6 windows/dialogs*"
  "7 plugin"
  "8 host"
  "8 host/win32*"
  "9 job"
  "10 studio"
  "10 bench"
  "11 cli"
  "11 python")

# Sources that stand on no floor: the tests may include every floor.
set(MORVESSAN_OFF_FLOORS tests)

# The table read into MORVESSAN_FLOOR_FOLDERS and, for each folder F,
# MORVESSAN_FLOOR_OF_<F> (its floor) and MORVESSAN_FLOOR_WINDOWS_<F> (ON or OFF).
set(MORVESSAN_FLOOR_FOLDERS "")
foreach(row IN LISTS MORVESSAN_FLOORS)
  if(NOT row MATCHES "^([0-9]+) +([A-Za-z0-9_]+(/[A-Za-z0-9_]+)*)(\\*?)$")
    message(FATAL_ERROR "cmake/Floors.cmake: cannot read the row '${row}'")
  endif()
  set(folder "${CMAKE_MATCH_2}")
  if(folder IN_LIST MORVESSAN_FLOOR_FOLDERS)
    message(FATAL_ERROR "cmake/Floors.cmake: ${folder} has two rows")
  endif()
  list(APPEND MORVESSAN_FLOOR_FOLDERS "${folder}")
  set("MORVESSAN_FLOOR_OF_${folder}" "${CMAKE_MATCH_1}")
  if(CMAKE_MATCH_4 STREQUAL "*")
    set("MORVESSAN_FLOOR_WINDOWS_${folder}" ON)
  else()
    set("MORVESSAN_FLOOR_WINDOWS_${folder}" OFF)
  endif()
endforeach()

# The folder of the table that a path relative to the tree belongs to, or "".
function(morvessan_folder_of path out)
  set(best "")
  set(best_length 0)
  foreach(folder IN LISTS MORVESSAN_FLOOR_FOLDERS)
    string(LENGTH "${folder}" length)
    string(FIND "${path}" "${folder}/" at)
    if(at EQUAL 0 AND length GREATER best_length)
      set(best "${folder}")
      set(best_length ${length})
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

# The folder whose part FOLDER is (the nearest folder holding it on its own floor,
# when FOLDER is a Windows folder), or FOLDER itself.
function(morvessan_floor_owner folder out)
  set(owner "${folder}")
  if(MORVESSAN_FLOOR_WINDOWS_${folder})
    set(path "${folder}")
    while(path MATCHES "^(.+)/[^/]+$")
      set(path "${CMAKE_MATCH_1}")
      if(path IN_LIST MORVESSAN_FLOOR_FOLDERS)
        if(MORVESSAN_FLOOR_OF_${path} EQUAL MORVESSAN_FLOOR_OF_${folder})
          set(owner "${path}")
        endif()
        break()
      endif()
    endwhile()
  endif()
  set(${out} "${owner}" PARENT_SCOPE)
endfunction()
