# cmake -DTOOL=<exe> -DDB=<new database> -DSQL=<file> -DTEMPLATE=<xml> -DEXPECT_STDOUT=<file> -P check_db.cmake
# Creates the database with the SQL file's tables, runs `check TEMPLATE --db DB` and compares its
# output (exit code 1: something is found); the database is removed afterwards.
file(REMOVE ${DB})
execute_process(COMMAND ${TOOL} create-db ${DB} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "create-db failed: ${err}")
endif()
execute_process(COMMAND ${TOOL} sql ${DB} ${SQL} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  file(REMOVE ${DB})
  message(FATAL_ERROR "sql failed: ${err}")
endif()
execute_process(COMMAND ${TOOL} check ${TEMPLATE} --db ${DB} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE ${DB})
file(READ ${EXPECT_STDOUT} expected)
if(NOT rc EQUAL 1 OR NOT out STREQUAL expected)
  message(FATAL_ERROR "exit code ${rc} (expected 1), stdout:\n${out}\nstderr: ${err}")
endif()
