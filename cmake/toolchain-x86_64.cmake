# Cross-build for 64-bit Windows with MinGW-w64 (POSIX-thread compilers, which GoogleTest needs):
# the tests and the stand-in ICQ. The shipped programs come from a tree of their own inside
# this one, built with toolchain-x86_64-win32.cmake.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
set(PRODUCT_TOOLCHAIN_FILE ${CMAKE_CURRENT_LIST_DIR}/toolchain-x86_64-win32.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
