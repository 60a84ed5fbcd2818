# Whose programs the installer starts. QUORVANE_PUBLISHER_PINS lists the SHA-256
# of each trusted publisher's SubjectPublicKeyInfo (64 hex digits or 44 base64
# characters, separated by semicolons) and is compiled into
# generated/package/PinnedPublishers.h. Left empty, the build pins the test
# publisher that scripts/make-test-publisher makes (once, in
# QUORVANE_TEST_PUBLISHER_DIR) and that scripts/sign-package signs with.
#
#   quorvane_sign(<target> [VARIANTS])   signs the target's file with the test
#                                        publisher after each link
set(QUORVANE_PUBLISHER_PINS "" CACHE STRING
  "SHA-256 pins of the publishers' SubjectPublicKeyInfo (hex or base64, ;-separated); empty: the test publisher")
set(QUORVANE_TEST_PUBLISHER_DIR ${PROJECT_SOURCE_DIR}/build/test-publisher CACHE PATH
  "Where the test publisher's keys and certificates are made")

execute_process(
  COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/make-test-publisher ${QUORVANE_TEST_PUBLISHER_DIR}
  RESULT_VARIABLE _made)
if(NOT _made EQUAL 0)
  message(FATAL_ERROR "the test publisher could not be made in ${QUORVANE_TEST_PUBLISHER_DIR} (openssl?)")
endif()

set(_pins ${QUORVANE_PUBLISHER_PINS})
if(NOT _pins)
  file(READ ${QUORVANE_TEST_PUBLISHER_DIR}/pin.txt _pins)
  string(STRIP "${_pins}" _pins)
  message(STATUS "Publisher pin: the test publisher (${_pins})")
endif()
set(QUORVANE_PINNED_PUBLISHERS "")
foreach(_pin IN LISTS _pins)
  if(NOT _pin MATCHES "^([0-9A-Fa-f]+|[A-Za-z0-9+/]+=)$")
    message(FATAL_ERROR "publisher pin '${_pin}' is neither hex nor base64")
  endif()
  string(LENGTH "${_pin}" _length)
  if(NOT (_length EQUAL 64 OR _length EQUAL 44))
    message(FATAL_ERROR "publisher pin '${_pin}' is no SHA-256 (64 hex digits or 44 base64 characters)")
  endif()
  string(APPEND QUORVANE_PINNED_PUBLISHERS "    \"${_pin}\",\n")
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/PinnedPublishers.h.in
  ${PROJECT_BINARY_DIR}/generated/package/PinnedPublishers.h @ONLY)

# With VARIANTS it first keeps <name>-unsigned<suffix> and makes
# <name>-impostor<suffix> (signed by a key that only shares the publisher's
# name) beside it, for the tests of refusals.
function(quorvane_sign target)
  cmake_parse_arguments(S "VARIANTS" "" "" ${ARGN})
  set(_file $<TARGET_FILE:${target}>)
  set(_sign ${CMAKE_COMMAND} -E env QUORVANE_TEST_PUBLISHER=${QUORVANE_TEST_PUBLISHER_DIR}
      bash ${PROJECT_SOURCE_DIR}/scripts/sign-package)
  set(_variants)
  if(S_VARIANTS)
    set(_base $<TARGET_FILE_DIR:${target}>/$<TARGET_FILE_BASE_NAME:${target}>)
    set(_suffix $<TARGET_FILE_SUFFIX:${target}>)
    set(_variants
      COMMAND ${CMAKE_COMMAND} -E copy ${_file} ${_base}-unsigned${_suffix}
      COMMAND ${_sign} --impostor ${_file} ${_base}-impostor${_suffix})
  endif()
  add_custom_command(TARGET ${target} POST_BUILD ${_variants} COMMAND ${_sign} ${_file} ${_file} VERBATIM)
endfunction()
