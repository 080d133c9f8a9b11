# A configuration of the program is one small object library, kv_config_<name>,
# made from the cache variables with the named values replaced:
#   kv_configuration(test KV_UPDATE_BASE http://127.0.0.1 KV_REPORT_BASE http://127.0.0.2)
# An executable links exactly one of them.
set(KV_CONFIG_VARIABLES KV_UPDATE_BASE KV_REPORT_BASE KV_REPORT_EMAIL1 KV_REPORT_EMAIL2 KV_SUPPORT_EMAIL
  KV_PHONE_DE KV_PHONE_INTL KV_NOTICE_LINE KV_EXAMPLE_PROXY KV_INSTALLER_SIGNER KV_INSTALLER_THUMBPRINTS)

function(kv_configuration name)
  set(KV_CONFIG_NAME ${name})
  set(overrides ${ARGN})
  while(overrides)
    list(POP_FRONT overrides variable value)
    if(NOT variable IN_LIST KV_CONFIG_VARIABLES)
      message(FATAL_ERROR "kv_configuration(${name}): unknown setting ${variable}")
    endif()
    set(${variable} "${value}")
  endwhile()
  set(source ${CMAKE_BINARY_DIR}/generated/kv_config_${name}.cpp)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/config.cpp.in ${source} @ONLY)
  add_library(kv_config_${name} OBJECT ${source})
  target_include_directories(kv_config_${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
  kv_apply_flags(kv_config_${name})
endfunction()
