# Native builds only: the sanitizers instrument our code and the tests alike.
if(NOT WIN32 AND QUORVANE_SANITIZE)
  if(QUORVANE_SANITIZE STREQUAL "address-undefined")
    set(_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  elseif(QUORVANE_SANITIZE STREQUAL "thread")
    set(_flags -fsanitize=thread -fno-omit-frame-pointer)
  else()
    message(FATAL_ERROR "unknown QUORVANE_SANITIZE value '${QUORVANE_SANITIZE}'")
  endif()
  add_compile_options(${_flags})
  add_link_options(${_flags})
endif()

# Fuzzing with libFuzzer (clang; see tests/fuzz): every library gets the
# coverage counters it steers by, not only the fuzz targets themselves.
if(QUORVANE_LIBFUZZER)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
