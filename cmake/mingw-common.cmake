# Debian's MinGW-w64 with the POSIX thread model (std::thread, std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUORVANE_MINGW_TRIPLET})
set(CMAKE_C_COMPILER ${QUORVANE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVANE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVANE_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUORVANE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: the product is one file with no MinGW DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
