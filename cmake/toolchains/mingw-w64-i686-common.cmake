# What every 32-bit Windows build here shares, whichever of Debian's two
# MinGW-w64 runtimes it uses (mingw-w64-i686.cmake, mingw-w64-i686-xp.cmake):
# also used for the libraries built from source for this target
# (cmake/DebianLibpng.cmake), so everything shares one set of flags.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# SSE2 arithmetic: doubles round as IEEE double, as on Linux, not through the
# x87's extended precision, which would change computed pixels. Windows XP is
# the oldest system the programs run on: the headers then offer nothing newer
# (libwebp, for one, picks its locks by this), and the PE header says 5.1,
# which XP requires of a program.
set(cubes_windows_flags "-msse2 -mfpmath=sse -D_WIN32_WINNT=0x0501 -DWINVER=0x0501")
set(CMAKE_C_FLAGS_INIT "${cubes_windows_flags}")
set(CMAKE_CXX_FLAGS_INIT "${cubes_windows_flags}")
# libstdc++ and libgcc (and winpthread, where used) go inside each program.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -Wl,--major-os-version,5,--minor-os-version,1,--major-subsystem-version,5,--minor-subsystem-version,1")
