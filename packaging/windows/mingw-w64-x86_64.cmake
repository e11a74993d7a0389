# Cross build for 64-bit Windows with Debian's MinGW-w64 compiler, the one with POSIX threads
# (the win32-threads compiler has no std::thread). Used for Qt's own build and, through the cross
# Qt's qt-cmake, for the programs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PROGRAM_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${PROGRAM_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PROGRAM_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PROGRAM_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${PROGRAM_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${PROGRAM_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${PROGRAM_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
