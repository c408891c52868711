# Runs the checker on INPUT and fails unless it exits with EXPECT_EXIT.
execute_process(COMMAND ${CHECKER} ${INPUT} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT result EQUAL EXPECT_EXIT)
  message(FATAL_ERROR "lumisk-check exited with ${result}, expected ${EXPECT_EXIT}")
endif()
