# Warning flags for the project's own targets: zavrik_warnings(<target>)
function(zavrik_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()
