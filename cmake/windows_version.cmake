# The project's version as Windows writes it, four numbers (1.0 is 1.0.0.0): the .exe version
# resources, the manifest and the installer's own version.
set(DORVANE_VERSION_PARTS)
foreach(part MAJOR MINOR PATCH TWEAK)
  if(PROJECT_VERSION_${part} STREQUAL "")
    list(APPEND DORVANE_VERSION_PARTS 0)
  else()
    list(APPEND DORVANE_VERSION_PARTS ${PROJECT_VERSION_${part}})
  endif()
endforeach()
list(JOIN DORVANE_VERSION_PARTS "." DORVANE_VERSION_DOTTED)
list(JOIN DORVANE_VERSION_PARTS "," DORVANE_VERSION_COMMAS)

# dorvane_version_resource(target description): links a version resource into the program
# `target`, with the project's version and `description` as what Explorer shows of it.
function(dorvane_version_resource target description)
  set(DORVANE_RC_TARGET ${target})
  set(DORVANE_RC_FILE_NAME ${target}.exe)
  set(DORVANE_RC_DESCRIPTION "${description}")
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/version.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
endfunction()
