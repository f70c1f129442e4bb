# Writes the program's bash completion script to a file.
# Run with -P and PROGRAM, OUTPUT set.
execute_process(COMMAND ${PROGRAM} completion bash OUTPUT_FILE ${OUTPUT}.part RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT}.part)
  message(FATAL_ERROR "WriteCompletion.cmake: '${PROGRAM} completion bash' failed (${status})")
endif()
file(RENAME ${OUTPUT}.part ${OUTPUT})
