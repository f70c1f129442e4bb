# Registers a GoogleTest program with ctest one test at a time, so that a failure
# names its test and ctest times each one, natively and under Wine alike.
include(GoogleTest)

# morvessan_add_gtest(TARGET NAME
#                     [ENVIRONMENT VAR=VALUE...]  set for every test (generator expressions allowed)
#                     [WRAPPER COMMAND...]        runs before the program (a display, a DPI...)
#                     [FILTER PATTERN]            only the tests gtest_filter selects
#                     [LOCK NAME]                 tests sharing NAME never run at the same time
#                     [TIMEOUT SECONDS])
#
# The tests are listed when ctest starts (the program runs with --gtest_list_tests
# through the same launcher), so a Windows program is listed under Wine too. The
# launcher is a small generated script that sets the environment, because the
# list of tests' properties cannot carry a value holding a semicolon.
function(morvessan_add_gtest target name)
  cmake_parse_arguments(arg "" "FILTER;LOCK;TIMEOUT" "ENVIRONMENT;WRAPPER" ${ARGN})
  set(launcher_lines "#!/bin/sh\n# Generated: runs ${name}'s tests with their environment.\n")
  # Listing needs no display or prefix of its own: skipping them keeps ctest's start quick.
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    string(JOIN "\" \"" emulator ${CMAKE_CROSSCOMPILING_EMULATOR})
    string(APPEND launcher_lines "case \" $* \" in *\" --gtest_list_tests \"*) exec \"${emulator}\" \"$@\" ;; esac\n")
  else()
    string(APPEND launcher_lines "case \" $* \" in *\" --gtest_list_tests \"*) exec \"$@\" ;; esac\n")
  endif()
  foreach(assignment IN LISTS arg_ENVIRONMENT)
    string(FIND "${assignment}" "=" at)
    string(SUBSTRING "${assignment}" 0 ${at} variable)
    math(EXPR at "${at} + 1")
    string(SUBSTRING "${assignment}" ${at} -1 value)
    string(REPLACE "'" "'\\''" value "${value}")
    string(APPEND launcher_lines "export ${variable}='${value}'\n")
  endforeach()
  set(command ${arg_WRAPPER})
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    list(APPEND command ${CMAKE_CROSSCOMPILING_EMULATOR})
  endif()
  string(JOIN "\" \"" quoted ${command})
  if(command)
    string(APPEND launcher_lines "exec \"${quoted}\" \"$@\"\n")
  else()
    string(APPEND launcher_lines "exec \"$@\"\n")
  endif()
  set(launcher ${CMAKE_CURRENT_BINARY_DIR}/run-${name}.sh)
  file(GENERATE OUTPUT ${launcher} CONTENT "${launcher_lines}"
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

  set(properties SKIP_RETURN_CODE 77)
  if(arg_LOCK)
    list(APPEND properties RESOURCE_LOCK ${arg_LOCK})
  endif()
  if(arg_TIMEOUT)
    list(APPEND properties TIMEOUT ${arg_TIMEOUT})
  endif()
  set(filter "")
  if(arg_FILTER)
    set(filter TEST_FILTER ${arg_FILTER})
  endif()
  # The launcher stands where the emulator would; the property is read here, so one
  # program can be registered again with another launcher.
  set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR ${launcher})
  gtest_discover_tests(${target} TEST_PREFIX "${name}." ${filter}
    DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 300
    PROPERTIES ${properties})
endfunction()
