# 32-bit Windows programs from Debian's MinGW-w64 compiler, POSIX-threads
# variant, for the build that tests: GoogleTest needs std::mutex, which the
# win32-threads variant's C++ library lacks. Its runtime (winpthread) imports
# functions Windows XP does not have, so the programs users run come from
# mingw-w64-i686-xp.cmake, built apart (cmake/platforms/win32.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-i686-common.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CUBES_PROGRAMS_TOOLCHAIN ${CMAKE_CURRENT_LIST_DIR}/mingw-w64-i686-xp.cmake)
