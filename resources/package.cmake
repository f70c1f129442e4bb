# Assembles a release folder and zips it: the given files (the module and its
# help, or the command-line program), the shipped presets, the texture pictures,
# the licence and, when given, the install note and the README.
# Run with -P and STAGE, FILES ("|" between files), PRESETS, TEXTURES, LICENSE, ZIP
# set; NOTE and README are optional.
foreach(var STAGE FILES PRESETS TEXTURES LICENSE ZIP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "package.cmake: ${var} not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}/Morvessan Presets" "${STAGE}/Morvessan Textures")
string(REPLACE "|" ";" files "${FILES}")
file(COPY ${files} DESTINATION "${STAGE}")
# Text files with Windows line ends.
set(texts "${LICENSE}|LICENSE.txt")
if(DEFINED NOTE)
  list(APPEND texts "${NOTE}|INSTALL.txt")
endif()
if(DEFINED README)
  list(APPEND texts "${README}|README.txt")
endif()
foreach(pair IN LISTS texts)
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
