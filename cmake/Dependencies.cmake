# Every dependency comes from Debian: binary packages, or source packages built
# by scripts/build-deps.sh into a cache whose folders ./run passes in here.

if(QUORVANE_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
endif()

set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/DelayImports.cmake)
  set(QUORVANE_CURL_DIR "" CACHE PATH "static libcurl (Schannel) built for this MinGW triplet")
  if(NOT EXISTS "${QUORVANE_CURL_DIR}/lib/libcurl.a")
    message(FATAL_ERROR "QUORVANE_CURL_DIR='${QUORVANE_CURL_DIR}' holds no libcurl.a; run ./run setup")
  endif()
  add_library(CURL::libcurl STATIC IMPORTED GLOBAL)
  set_target_properties(CURL::libcurl PROPERTIES
    IMPORTED_LOCATION "${QUORVANE_CURL_DIR}/lib/libcurl.a"
    INTERFACE_INCLUDE_DIRECTORIES "${QUORVANE_CURL_DIR}/include"
    INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
    INTERFACE_LINK_LIBRARIES "ZLIB::ZLIB;ws2_32;crypt32;bcrypt;secur32;wldap32;normaliz;iphlpapi")
else()
  find_package(CURL REQUIRED)
endif()

# The LZMA SDK's C sources (7z reader, LZMA2) from Debian's 7zip source package.
set(LZMA_SDK_DIR "" CACHE PATH "the C folder of the LZMA SDK")
if(NOT EXISTS "${LZMA_SDK_DIR}/7zArcIn.c")
  message(FATAL_ERROR "LZMA_SDK_DIR='${LZMA_SDK_DIR}' holds no LZMA SDK; run ./run setup")
endif()
set(_lzma_sources 7zAlloc.c 7zArcIn.c 7zBuf.c 7zBuf2.c 7zCrc.c 7zCrcOpt.c 7zDec.c 7zStream.c
  Bcj2.c Bra.c Bra86.c BraIA64.c CpuArch.c Delta.c Lzma2Dec.c LzmaDec.c)
list(TRANSFORM _lzma_sources PREPEND "${LZMA_SDK_DIR}/")
# The header reader is built from a patched copy that mends two faults in
# reading damaged headers (the patch says which).
set(_lzma_patch "${PROJECT_SOURCE_DIR}/cmake/patches/lzma-sdk-7z-header.patch")
set(_lzma_patched_dir "${CMAKE_BINARY_DIR}/lzma-sdk-patched")
file(MAKE_DIRECTORY "${_lzma_patched_dir}")
file(COPY_FILE "${LZMA_SDK_DIR}/7zArcIn.c" "${_lzma_patched_dir}/7zArcIn.c.new")
execute_process(COMMAND patch --quiet --forward "${_lzma_patched_dir}/7zArcIn.c.new" "${_lzma_patch}"
                RESULT_VARIABLE _lzma_patch_result)
if(NOT _lzma_patch_result EQUAL 0)
  message(FATAL_ERROR "${_lzma_patch} does not apply to ${LZMA_SDK_DIR}/7zArcIn.c")
endif()
file(COPY_FILE "${_lzma_patched_dir}/7zArcIn.c.new" "${_lzma_patched_dir}/7zArcIn.c" ONLY_IF_DIFFERENT)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_lzma_patch}")
list(REMOVE_ITEM _lzma_sources "${LZMA_SDK_DIR}/7zArcIn.c")
list(APPEND _lzma_sources "${_lzma_patched_dir}/7zArcIn.c")
add_library(lzma_sdk STATIC ${_lzma_sources})
target_include_directories(lzma_sdk SYSTEM PUBLIC "${LZMA_SDK_DIR}")
set_target_properties(lzma_sdk PROPERTIES C_STANDARD 99 POSITION_INDEPENDENT_CODE ON)
