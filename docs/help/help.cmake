# The help file: the HTML pages, pop-up texts and pictures of docs/help compiled
# with chmcmd (Debian's fp-utils) into XMorvessan.chm, beside the module in the build tree.
find_program(MORVESSAN_CHMCMD chmcmd)
set(MORVESSAN_HELP_FILE ${CMAKE_BINARY_DIR}/XMorvessan.chm)
if(NOT MORVESSAN_CHMCMD)
  if(WIN32)
    message(FATAL_ERROR "chmcmd is needed for the help file: scripts/install-win64-deps.sh installs fp-utils")
  endif()
  message(STATUS "chmcmd not found: no help file (install fp-utils)")
  return()
endif()
set(help_source ${CMAKE_SOURCE_DIR}/docs/help)
file(GLOB_RECURSE help_inputs CONFIGURE_DEPENDS ${help_source}/*.htm ${help_source}/*.hhp ${help_source}/*.hhc
  ${help_source}/*.css ${help_source}/*.txt ${help_source}/*.png)
# chmcmd writes beside its project, so it compiles a copy in the build tree.
set(help_work ${CMAKE_CURRENT_BINARY_DIR}/help)
add_custom_command(
  OUTPUT ${MORVESSAN_HELP_FILE}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${help_work}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${help_source} ${help_work}
  COMMAND ${CMAKE_COMMAND} -E chdir ${help_work} ${MORVESSAN_CHMCMD} --verbosity 1 XMorvessan.hhp
  COMMAND ${CMAKE_COMMAND} -E copy ${help_work}/XMorvessan.chm ${MORVESSAN_HELP_FILE}
  DEPENDS ${help_inputs}
  COMMENT "Compiling the help file"
  VERBATIM)
add_custom_target(morvessan_help ALL DEPENDS ${MORVESSAN_HELP_FILE})
set_target_properties(morvessan_help PROPERTIES MORVESSAN_HELP_FILE ${MORVESSAN_HELP_FILE})
