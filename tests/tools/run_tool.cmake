# cmake -DTOOL=<exe> -DARGS="a;b" -DEXPECT_RC=<n> [-DEXPECT_STDOUT=<file>] [-DEXPECT_STDERR=<text>]
#       [-DEXPECT_CONTAINS="text|..."] -P run_tool.cmake
# Runs the tool and checks its exit code, standard output (against a file, CR LF kept) and
# standard error (exact text without the final line end).
execute_process(COMMAND ${TOOL} ${ARGS} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL EXPECT_RC)
  message(FATAL_ERROR "exit code ${rc}, expected ${EXPECT_RC}; stderr: ${err}")
endif()
if(DEFINED EXPECT_STDOUT)
  file(READ ${EXPECT_STDOUT} expected)
  if(NOT out STREQUAL expected)
    message(FATAL_ERROR "stdout differs from ${EXPECT_STDOUT}:\n${out}")
  endif()
endif()
if(DEFINED EXPECT_STDERR)
  string(REGEX REPLACE "\n$" "" err "${err}")
  if(NOT err STREQUAL EXPECT_STDERR)
    message(FATAL_ERROR "stderr is '${err}', expected '${EXPECT_STDERR}'")
  endif()
endif()
# -DEXPECT_CONTAINS="text1|text2": each text appears in standard output.
string(REPLACE "|" ";" contains "${EXPECT_CONTAINS}")
foreach(text IN LISTS contains)
  string(FIND "${out}" "${text}" position)
  if(position EQUAL -1)
    message(FATAL_ERROR "stdout lacks '${text}':\n${out}")
  endif()
endforeach()
