# The skin package: skin/ packed with 7zz (7z, LZMA2, solid) and linked into a
# program as the resource of type "SKINPKG", identifier 147, language Chinese
# (Simplified). Timestamps are left out so the same skin gives the same bytes.
#
#   quorvane_skin_resource(<target>)
#
# Run with -P (SKIN_ARCHIVE=<file>) it prints the packed size.
if(CMAKE_SCRIPT_MODE_FILE)
  file(SIZE "${SKIN_ARCHIVE}" _size)
  math(EXPR _kib "${_size} / 1024")
  message("skin package: ${SKIN_ARCHIVE} ${_size} bytes (${_kib} KiB)")
  return()
endif()

find_program(QUORVANE_7ZZ 7zz REQUIRED)
set(QUORVANE_SKIN_DIR ${PROJECT_SOURCE_DIR}/skin)
set(QUORVANE_SKIN_ARCHIVE ${PROJECT_BINARY_DIR}/skin/skin.7z)
set(QUORVANE_SKIN_RC ${PROJECT_BINARY_DIR}/skin/skin.rc)
set(_skin_module ${CMAKE_CURRENT_LIST_FILE})

function(quorvane_skin_resource target)
  if(NOT TARGET quorvane_skin_package)
    file(GLOB_RECURSE _files CONFIGURE_DEPENDS ${QUORVANE_SKIN_DIR}/*)
    file(GLOB _descriptions RELATIVE ${QUORVANE_SKIN_DIR} CONFIGURE_DEPENDS ${QUORVANE_SKIN_DIR}/*.xml)
    add_custom_command(OUTPUT ${QUORVANE_SKIN_ARCHIVE}
      COMMAND ${CMAKE_COMMAND} -E rm -f ${QUORVANE_SKIN_ARCHIVE}
      COMMAND ${CMAKE_COMMAND} -E chdir ${QUORVANE_SKIN_DIR}
              ${QUORVANE_7ZZ} a -bso0 -bsp0 -t7z -m0=lzma2 -mx=9 -ms=on -mtm=off -mtc=off -mta=off
              ${QUORVANE_SKIN_ARCHIVE} ${_descriptions} res
      COMMAND ${CMAKE_COMMAND} -DSKIN_ARCHIVE=${QUORVANE_SKIN_ARCHIVE} -P ${_skin_module}
      DEPENDS ${_files}
      COMMENT "Packing the skin"
      VERBATIM)
    file(WRITE ${QUORVANE_SKIN_RC}.in
      "LANGUAGE 4, 2\n147 SKINPKG \"${QUORVANE_SKIN_ARCHIVE}\"\n")
    configure_file(${QUORVANE_SKIN_RC}.in ${QUORVANE_SKIN_RC} COPYONLY)
    add_custom_target(quorvane_skin_package DEPENDS ${QUORVANE_SKIN_ARCHIVE})
  endif()
  target_sources(${target} PRIVATE ${QUORVANE_SKIN_RC})
  set_source_files_properties(${QUORVANE_SKIN_RC} PROPERTIES OBJECT_DEPENDS ${QUORVANE_SKIN_ARCHIVE})
  add_dependencies(${target} quorvane_skin_package)
endfunction()
