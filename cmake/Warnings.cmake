# One warning set for every target of ours; dependencies compile without it.
set(QUORVANE_WARNINGS
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
  -Wcast-qual -Wformat=2 -Wundef -Wnon-virtual-dtor -Wold-style-cast
  -Woverloaded-virtual -Wmissing-declarations -Werror)

function(quorvane_target name)
  target_compile_options(${name} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:${QUORVANE_WARNINGS}>)
  if(WIN32)
    target_compile_definitions(${name} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
      _WIN32_WINNT=0x0601 WINVER=0x0601)
    get_target_property(_type ${name} TYPE)
    if(_type STREQUAL "EXECUTABLE")
      quorvane_delay_imports(${name})
    endif()
  endif()
endfunction()
