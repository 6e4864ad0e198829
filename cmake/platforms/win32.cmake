# Native 32-bit Windows: USER and GDI windows, timers and bitmaps; velmora
# renders through WGL into a DIB section. Cross-compiled here with the
# toolchain in cmake/toolchains; with MSYS2 or MSVC the same finds work from
# that system's own libpng and GoogleTest.
set(CUBES_GL_CONTEXT wgl)
enable_language(RC)

find_package(OpenGL REQUIRED)
add_library(cubes_gl INTERFACE)
target_link_libraries(cubes_gl INTERFACE OpenGL::GL OpenGL::GLU gdi32)
add_library(Cubes::GL ALIAS cubes_gl)

# Static archives, so the programs import nothing but system DLLs.
set(ZLIB_USE_STATIC_LIBS ON)

# Debian has no libpng for this target: build it from Debian's source
# package (cmake/DebianLibpng.cmake), once per build folder.
if(CMAKE_CROSSCOMPILING AND EXISTS /etc/debian_version)
  option(CUBES_LIBPNG_FROM_DEBIAN "Build libpng from Debian's libpng1.6 source package" ON)
else()
  option(CUBES_LIBPNG_FROM_DEBIAN "Build libpng from Debian's libpng1.6 source package" OFF)
endif()
if(CUBES_LIBPNG_FROM_DEBIAN)
  include(DebianLibpng)
  cubes_debian_libpng(DIR ${CMAKE_BINARY_DIR}/deps/libpng TOOLCHAIN ${CMAKE_TOOLCHAIN_FILE})
  list(APPEND CMAKE_FIND_ROOT_PATH ${CUBES_LIBPNG_PREFIX})
endif()

if(CMAKE_CROSSCOMPILING)
  # GoogleTest from Debian's sources, built with this compiler.
  if(CUBES_TESTS AND EXISTS /usr/src/googletest/CMakeLists.txt)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  endif()
  # Tests run the programs under Wine, in a Wine prefix of this build folder
  # made on first use.
  find_program(CUBES_WINE wine)
  if(CUBES_WINE)
    set(CUBES_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  endif()
endif()
