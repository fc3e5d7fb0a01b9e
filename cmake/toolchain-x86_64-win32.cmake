# Cross-build of the shipped programs for 64-bit Windows with MinGW-w64: the win32-thread
# compilers. The POSIX-thread ones link winpthreads, which imports GetTickCount64, and
# Windows XP's loader refuses such a program; these leave it out (and are smaller).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
