# Warnings, the Windows-1252 execution character set and, for native builds,
# the sanitizers: one place for every target of the project.
function(kv_apply_flags target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
  # Clang knows only UTF-8 as execution character set; it builds the fuzzers
  # alone, where the bytes of literals do not matter.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP1252)
  endif()
  if(WIN32)
    # Lets the linker drop what the program never calls.
    target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections)
  endif()
  if(KV_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  endif()
  if(KV_SANITIZE AND NOT WIN32)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# Windows programs carry their runtime inside: no libstdc++, libgcc or
# libwinpthread DLL next to the executable.
function(kv_link_static target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++
      $<$<NOT:$<CONFIG:Debug>>:-s -Wl,--gc-sections>)
  endif()
endfunction()
