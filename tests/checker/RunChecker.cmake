# Runs the checker on INPUT and fails unless it exits with EXPECT_EXIT and, when EXPECT_FINDINGS is
# given, reports that many findings (lines starting with "[section]").
execute_process(COMMAND ${CHECKER} ${INPUT} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT result EQUAL EXPECT_EXIT)
  message(FATAL_ERROR "lumisk-check exited with ${result}, expected ${EXPECT_EXIT}")
endif()
if(DEFINED EXPECT_FINDINGS)
  # Brackets group list elements in CMake: each finding's line start is marked with a plain word first.
  string(REPLACE "\n[" "\nFINDING" marked "\n${out}")
  string(REGEX MATCHALL "\nFINDING" findings "${marked}")
  list(LENGTH findings count)
  if(NOT count EQUAL EXPECT_FINDINGS)
    message(FATAL_ERROR "lumisk-check reported ${count} findings, expected ${EXPECT_FINDINGS}")
  endif()
endif()
