# The shipped i686 build imports statically only KnownDLLs (and comctl32,
# bound by the manifest): any other DLL in the import table is looked up beside
# the executable first (a downloads folder, where a planted copy may wait) and
# loaded elevated before start-up runs. These are delay-loaded instead, through
# thunks made by scripts/make-delay-imports.py; start-up sends their loads to
# System32. The 64-bit twin, which does not ship, keeps its static imports.
set(QUORVANE_DELAY_LOADED bcrypt crypt32 msimg32 netapi32 urlmon winmm wtsapi32)

if(QUORVANE_MINGW_TRIPLET MATCHES "^i686")
  enable_language(ASM)
  find_program(QUORVANE_NM ${QUORVANE_MINGW_TRIPLET}-nm REQUIRED)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(_generator ${PROJECT_SOURCE_DIR}/scripts/make-delay-imports.py)
  set(_sources)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delay-imports)
  foreach(name IN LISTS QUORVANE_DELAY_LOADED)
    set(_import /usr/${QUORVANE_MINGW_TRIPLET}/lib/lib${name}.a)
    set(_out ${CMAKE_BINARY_DIR}/delay-imports/${name}.S)
    add_custom_command(OUTPUT ${_out}
      COMMAND Python3::Interpreter ${_generator} ${QUORVANE_NM} ${_import} ${name}.dll ${_out}
      DEPENDS ${_generator} ${_import} VERBATIM)
    list(APPEND _sources ${_out})
  endforeach()
  add_library(delay_imports OBJECT ${_sources})
endif()

# Every executable of ours takes the thunks where they exist, so the tests run
# the same import path as the product.
function(quorvane_delay_imports target)
  if(TARGET delay_imports)
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:delay_imports>)
  endif()
endfunction()
