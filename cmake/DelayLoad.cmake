# A DLL the executable imports statically is looked up beside it first unless
# it is a KnownDLL, and an installer usually sits in a downloads folder where a
# planted copy may wait, loaded elevated before the first line of start-up runs.
# These DLLs are therefore delay-loaded: the first call loads them, after
# start-up has limited the search path to System32. The delay-import libraries
# are made here from the toolchain's own import libraries. crypt32 is not among
# them yet: delay-loaded, the i686 build's first TLS transfer jumped to a null
# address right after it loaded.
set(QUORVANE_DELAY_LOADED bcrypt msimg32 netapi32 urlmon winhttp winmm wtsapi32)

find_program(QUORVANE_NM ${QUORVANE_MINGW_TRIPLET}-nm REQUIRED)
find_program(QUORVANE_DLLTOOL ${QUORVANE_MINGW_TRIPLET}-dlltool REQUIRED)
set(_delay_dir ${CMAKE_BINARY_DIR}/delayload)
file(MAKE_DIRECTORY ${_delay_dir})
if(QUORVANE_MINGW_TRIPLET MATCHES "^i686")
  set(_imp_prefix "__imp__")
  set(_dlltool_flags -m i386 --kill-at)  # "Foo@16" in the library, "Foo" in the DLL
else()
  set(_imp_prefix "__imp_")
  set(_dlltool_flags -m i386:x86-64)
endif()

foreach(name IN LISTS QUORVANE_DELAY_LOADED)
  set(_import /usr/${QUORVANE_MINGW_TRIPLET}/lib/lib${name}.a)
  set(_def ${_delay_dir}/${name}.def)
  set(_lib ${_delay_dir}/lib${name}_delay.a)
  if(NOT EXISTS ${_lib} OR ${_import} IS_NEWER_THAN ${_lib})
    execute_process(COMMAND ${QUORVANE_NM} ${_import} OUTPUT_VARIABLE _symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL " I ${_imp_prefix}[^\n]+" _imports "${_symbols}")
    set(_text "LIBRARY ${name}.dll\nEXPORTS\n")
    foreach(line IN LISTS _imports)
      string(REPLACE " I ${_imp_prefix}" "" _symbol "${line}")
      string(APPEND _text "${_symbol}\n")
    endforeach()
    file(WRITE ${_def} "${_text}")
    execute_process(COMMAND ${QUORVANE_DLLTOOL} ${_dlltool_flags} -d ${_def} -y ${_lib} -D ${name}.dll
      COMMAND_ERROR_IS_FATAL ANY)
  endif()
  add_library(delay::${name} STATIC IMPORTED GLOBAL)
  set_target_properties(delay::${name} PROPERTIES IMPORTED_LOCATION ${_lib})
endforeach()
