# The programs users run on Windows XP SP3 and later: Debian's MinGW-w64
# compiler, win32-threads variant (tests/win32/xp-imports.sh checks every
# shipped program). Its runtime has called Windows Vista's condition variables
# since GCC 13; docs/windows.md, "Threads and Windows XP", says how the
# programs still start on XP.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-i686-common.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
string(APPEND CMAKE_CXX_FLAGS_INIT " -include ${CMAKE_CURRENT_LIST_DIR}/mingw-w64-gthr-xp.h")
# Linked into every program by cmake/platforms/win32.cmake.
set(CUBES_XP_IMPORTS_SOURCE ${CMAKE_CURRENT_LIST_DIR}/mingw-w64-xp-imports.c)
