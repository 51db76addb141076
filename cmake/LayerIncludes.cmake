# Include direction follows the link direction. Each library of src/ is a layer: a folder of its
# own whose files may include headers of that folder and of the layers it links to (directly or
# through them), nothing else. Every build checks this, so a wrong-way include fails the build.
#
#   zavrik_layer(<target> <folder below src/>)   declares a layer
#   zavrik_check_layers()                        adds the checks (after all layers are declared)
#
# In script mode (cmake -P) it checks one layer: FOLDER, ALLOWED (folders, ;-separated),
# FILES (;-separated), STAMP.

if(CMAKE_SCRIPT_MODE_FILE)
  set(wrong "")
  foreach(file IN LISTS FILES)
    file(STRINGS "${file}" includes REGEX "^#include \"[^\"]+/[^\"/]+\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"(.+)/[^/\"]+\".*" "\\1" folder "${line}")
      set(allowed FALSE)
      foreach(layer IN LISTS ALLOWED FOLDER)
        if(folder STREQUAL layer OR folder MATCHES "^${layer}/")
          set(allowed TRUE)
        endif()
      endforeach()
      if(NOT allowed)
        string(APPEND wrong "  ${file}: ${line}\n")
      endif()
    endforeach()
  endforeach()
  if(wrong)
    message(FATAL_ERROR "src/${FOLDER} may include only ${FOLDER} and what it links to (${ALLOWED}):\n${wrong}")
  endif()
  file(TOUCH "${STAMP}")
  return()
endif()

set_property(GLOBAL PROPERTY ZAVRIK_LAYERS "")

function(zavrik_layer target folder)
  set_property(TARGET ${target} PROPERTY ZAVRIK_FOLDER "${folder}")
  set_property(GLOBAL APPEND PROPERTY ZAVRIK_LAYERS ${target})
endfunction()

# The folders of the layers `target` links to, directly or through other targets.
function(zavrik_linked_folders target out)
  set(seen "")
  set(pending ${target})
  set(folders "")
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen OR NOT TARGET ${current})
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(links ${current} LINK_LIBRARIES)
    get_target_property(interface_links ${current} INTERFACE_LINK_LIBRARIES)
    foreach(link IN LISTS links interface_links)
      string(REGEX REPLACE "^\\$<LINK_LIBRARY:[A-Z_]+,(.+)>$" "\\1" link "${link}")
      if(TARGET ${link})
        list(APPEND pending ${link})
        get_target_property(folder ${link} ZAVRIK_FOLDER)
        if(folder)
          list(APPEND folders ${folder})
        endif()
      endif()
    endforeach()
  endwhile()
  list(REMOVE_DUPLICATES folders)
  set(${out} "${folders}" PARENT_SCOPE)
endfunction()

function(zavrik_check_layers)
  get_property(layers GLOBAL PROPERTY ZAVRIK_LAYERS)
  foreach(target IN LISTS layers)
    get_target_property(folder ${target} ZAVRIK_FOLDER)
    zavrik_linked_folders(${target} allowed)
    file(GLOB_RECURSE files CONFIGURE_DEPENDS
      "${PROJECT_SOURCE_DIR}/src/${folder}/*.h" "${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp")
    # A layer's subfolders that are layers of their own are checked as such.
    foreach(other IN LISTS layers)
      get_target_property(other_folder ${other} ZAVRIK_FOLDER)
      if(NOT other STREQUAL target AND other_folder MATCHES "^${folder}/")
        list(FILTER files EXCLUDE REGEX "/src/${other_folder}/")
      endif()
    endforeach()
    set(stamp "${CMAKE_CURRENT_BINARY_DIR}/${target}.includes")
    add_custom_command(OUTPUT "${stamp}"
      COMMAND ${CMAKE_COMMAND} "-DFOLDER=${folder}" "-DALLOWED=${allowed}" "-DFILES=${files}"
              "-DSTAMP=${stamp}" -P "${PROJECT_SOURCE_DIR}/cmake/LayerIncludes.cmake"
      DEPENDS ${files} "${PROJECT_SOURCE_DIR}/cmake/LayerIncludes.cmake"
      COMMENT "Checking the includes of src/${folder}"
      VERBATIM)
    add_custom_target(${target}_includes DEPENDS "${stamp}")
    add_dependencies(${target} ${target}_includes)
  endforeach()
endfunction()
