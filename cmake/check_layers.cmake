# cmake -DKV_SOURCE_DIR=<src> -DKV_LAYER_TABLE=<table> -P check_layers.cmake
# Fails when a file includes from a folder its own folder was not declared to
# use (cmake/layers.cmake writes the table from the declarations). An include
# belongs to the longest declared folder its path starts with, so
# "platform/win32/x.h" counts as platform/win32, not as platform.
cmake_minimum_required(VERSION 3.25)
include(${KV_LAYER_TABLE})

function(layer_of path out)
  set(found "")
  foreach(layer ${KV_LAYERS})
    string(LENGTH "${layer}" length)
    string(LENGTH "${found}" found_length)
    if(path MATCHES "^${layer}/" AND length GREATER found_length)
      set(found ${layer})
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(faults "")
file(GLOB_RECURSE files RELATIVE ${KV_SOURCE_DIR} ${KV_SOURCE_DIR}/*.h ${KV_SOURCE_DIR}/*.cpp)
list(SORT files)
foreach(file ${files})
  layer_of(${file} own)
  if(own STREQUAL "")
    string(APPEND faults "  src/${file}: its folder is not declared with kv_subsystem()\n")
    continue()
  endif()
  # Angle brackets reach src/ as well, so they are no way around the check.
  file(STRINGS ${KV_SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]+/")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*" "\\1" include "${line}")
    layer_of(${include} other)
    if(other STREQUAL "" OR other STREQUAL own OR other IN_LIST KV_ALLOWED_${own})
      continue()
    endif()
    set(allowed ${own} ${KV_ALLOWED_${own}})
    list(JOIN allowed ", " allowed)
    string(APPEND faults "  src/${file}: #include \"${include}\" (${other}); ${own} may include only from: ${allowed}\n")
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes against the folders' direction (declared in CMakeLists.txt with "
    "kv_subsystem):\n${faults}")
endif()
