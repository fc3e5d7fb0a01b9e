# Cross-build for 32-bit Windows with MinGW-w64 (POSIX-thread compilers, which GoogleTest needs):
# the tests and the stand-in ICQ. The shipped programs come from a tree of their own inside
# this one, built with toolchain-i686-win32.cmake.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
set(PRODUCT_TOOLCHAIN_FILE ${CMAKE_CURRENT_LIST_DIR}/toolchain-i686-win32.cmake)
# The tests of this build run as 32-bit programs in a 64-bit Wine prefix (a 32-bit program on
# 64-bit Windows); on a kernel without 32-bit support the runner reports them as skipped.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
