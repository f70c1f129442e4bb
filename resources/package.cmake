# Assembles the release folder and zips it: the module, its help file, the shipped
# presets, the texture pictures, the install note and the licence.
# Run with -P and STAGE, MODULE, HELP, PRESETS, TEXTURES, NOTE, LICENSE, ZIP set.
foreach(var STAGE MODULE HELP PRESETS TEXTURES NOTE LICENSE ZIP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "package.cmake: ${var} not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}/Morvessan Presets" "${STAGE}/Morvessan Textures")
file(COPY "${MODULE}" "${HELP}" DESTINATION "${STAGE}")
# Text files with Windows line ends.
foreach(pair "${NOTE}|INSTALL.txt" "${LICENSE}|LICENSE.txt")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 from)
  list(GET pair 1 to)
  file(READ "${from}" text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE "${STAGE}/${to}" "${text}")
endforeach()

file(GLOB presets "${PRESETS}/*.txt")
if(NOT presets)
  message(FATAL_ERROR "package.cmake: no preset files in ${PRESETS}")
endif()
file(COPY ${presets} DESTINATION "${STAGE}/Morvessan Presets")

file(GLOB textures "${TEXTURES}/*.png")
list(LENGTH textures texture_count)
if(texture_count LESS 6)
  message(FATAL_ERROR "package.cmake: expected six texture pictures in ${TEXTURES}, found ${texture_count}")
endif()
file(COPY ${textures} DESTINATION "${STAGE}/Morvessan Textures")

get_filename_component(stage_parent "${STAGE}" DIRECTORY)
get_filename_component(stage_name "${STAGE}" NAME)
file(REMOVE "${ZIP}")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${ZIP}" --format=zip "${stage_name}"
  WORKING_DIRECTORY "${stage_parent}" RESULT_VARIABLE zipped)
if(NOT zipped EQUAL 0)
  file(REMOVE "${ZIP}")
  message(FATAL_ERROR "package.cmake: cannot write ${ZIP}")
endif()
message(STATUS "Wrote ${ZIP}")
