# 32-bit Windows programs from Debian's MinGW-w64 compiler, POSIX-threads
# variant: the win32-threads variant's C++ library has no std::mutex, which
# GoogleTest needs. Also used for the libraries built from source for this
# target (cmake/DebianLibpng.cmake), so everything shares one set of flags.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# SSE2 arithmetic: doubles round as IEEE double, as on Linux, not through the
# x87's extended precision, which would change computed pixels.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
# libstdc++, libgcc and winpthread go inside each program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
