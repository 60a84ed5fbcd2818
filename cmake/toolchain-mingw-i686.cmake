set(QUORVANE_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# SSE2 arithmetic instead of x87: the shipped build then computes the same
# numbers (the progress percentages among them) as every other build. GCC
# assumes a 16-byte aligned stack, which 32-bit Windows does not promise to
# window procedures, thread starts and other callbacks: -mstackrealign makes
# every function that needs the alignment set it up itself.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
