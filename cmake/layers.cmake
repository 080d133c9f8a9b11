# The folders of src/ depend on each other in one direction only. Each folder
# is declared bottom-up, naming the folders below it that it uses:
#   kv_subsystem(<folder> [DEPENDS <folder>...] [EXCLUDE <file>...] [WINDOWS])
# A dependency must have been declared before, so the graph cannot hold a
# circle. The folder becomes the static library kv_<folder> ("/" turned into
# "_"), linked to the libraries of its dependencies; a folder without sources
# of its own, or a WINDOWS one outside a Windows build, is an interface
# library or none. Subfolders named win32 are left to their own declaration.
# EXCLUDE keeps a program's entry file out of the library.
#
# The same declarations give the folders each one may include from (the
# transitive closure); cmake/check_layers.cmake enforces them on every build.
set(KV_LAYERS "")

function(kv_subsystem folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "WINDOWS" "" "DEPENDS;EXCLUDE")
  set(allowed "")
  foreach(dep ${arg_DEPENDS})
    if(NOT dep IN_LIST KV_LAYERS)
      message(FATAL_ERROR "kv_subsystem(${folder}): ${dep} is not declared before it; "
        "a folder may only use folders declared below it")
    endif()
    list(APPEND allowed ${dep} ${KV_ALLOWED_${dep}})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  list(APPEND KV_LAYERS ${folder})
  set(KV_LAYERS ${KV_LAYERS} PARENT_SCOPE)
  set(KV_ALLOWED_${folder} ${allowed} PARENT_SCOPE)

  if(arg_WINDOWS AND NOT WIN32)
    return()
  endif()
  string(REPLACE "/" "_" target kv_${folder})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp)
  if(NOT folder MATCHES "/win32$")
    list(FILTER sources EXCLUDE REGEX "/win32/")
  endif()
  foreach(file ${arg_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/src/${folder}/${file})
  endforeach()
  list(TRANSFORM arg_DEPENDS REPLACE "/" "_")
  list(TRANSFORM arg_DEPENDS PREPEND kv_)
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${arg_DEPENDS})
    kv_apply_flags(${target})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${arg_DEPENDS})
  endif()
endfunction()

# The check runs before any library compiles; it reads the declarations made
# so far, so it is set up after the last kv_subsystem() and the libraries are
# made to wait for it.
function(kv_layer_check)
  set(table "set(KV_LAYERS \"${KV_LAYERS}\")\n")
  foreach(folder ${KV_LAYERS})
    string(APPEND table "set(KV_ALLOWED_${folder} \"${KV_ALLOWED_${folder}}\")\n")
  endforeach()
  set(table_file ${CMAKE_BINARY_DIR}/generated/layers.cmake)
  file(CONFIGURE OUTPUT ${table_file} CONTENT "${table}")
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.h ${CMAKE_SOURCE_DIR}/src/*.cpp)
  set(stamp ${CMAKE_BINARY_DIR}/generated/layers.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DKV_SOURCE_DIR=${CMAKE_SOURCE_DIR}/src -DKV_LAYER_TABLE=${table_file}
      -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${sources} ${table_file} ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
    COMMENT "Checking the includes against the folders' direction"
    VERBATIM)
  add_custom_target(kv_layer_check ALL DEPENDS ${stamp})
  foreach(folder ${KV_LAYERS})
    string(REPLACE "/" "_" target kv_${folder})
    if(TARGET ${target})
      get_target_property(type ${target} TYPE)
      if(NOT type STREQUAL "INTERFACE_LIBRARY")
        add_dependencies(${target} kv_layer_check)
      endif()
    endif()
  endforeach()
endfunction()
