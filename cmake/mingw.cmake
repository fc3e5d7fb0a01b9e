# The part the four toolchain files share: MinGW-w64 for CMAKE_SYSTEM_PROCESSOR (i686 or
# x86_64) with the thread model MINGW_THREADS (posix or win32), libraries and headers
# only from the cross-compiler's own root.
set(CMAKE_SYSTEM_NAME Windows)
set(MINGW_PREFIX ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-${MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-${MINGW_THREADS})
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
