# zavrik_shared_object_name(<variable> <library file>): the SONAME of a shared library, for the
# libraries the program opens at run time by that name.
function(zavrik_shared_object_name variable library_file)
  get_filename_component(real_file "${library_file}" REALPATH)
  execute_process(COMMAND ${CMAKE_OBJDUMP} -p "${real_file}" OUTPUT_VARIABLE dump
                  RESULT_VARIABLE dump_result)
  string(REGEX MATCH "SONAME +([^ \n]+)" soname_line "${dump}")
  if(NOT dump_result EQUAL 0 OR NOT CMAKE_MATCH_1)
    message(FATAL_ERROR "Cannot read the shared object name of ${real_file}")
  endif()
  set(${variable} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()
