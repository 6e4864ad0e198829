# The programs users run on Windows XP SP3 and later: Debian's MinGW-w64
# compiler, win32-threads variant, whose runtime calls only what XP's system
# DLLs export (tests/win32/xp-imports.sh checks every shipped program).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-i686-common.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
