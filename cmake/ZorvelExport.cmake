# zorvel_library_face(<target>): a library exports only what its headers mark <TARGET>_EXPORT.
# The macro comes from <target>_export.h, generated into the build tree and installed beside the
# headers; everything else, inline functions included, stays hidden inside the library.
include(GenerateExportHeader)

set(ZORVEL_EXPORT_HEADER_DIR "${PROJECT_BINARY_DIR}/export")

function(zorvel_library_face target)
  set(header "${ZORVEL_EXPORT_HEADER_DIR}/${target}_export.h")
  generate_export_header(${target} EXPORT_FILE_NAME "${header}")
  set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${ZORVEL_EXPORT_HEADER_DIR}>)
  # Linked statically (the fuzz build), the macro expands to nothing.
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY")
    string(TOUPPER "${target}" upper)
    target_compile_definitions(${target} PUBLIC ${upper}_STATIC_DEFINE)
  endif()
  set_property(GLOBAL APPEND PROPERTY ZORVEL_EXPORT_HEADERS "${header}")
endfunction()
