# WebAssembly in a web page, built with Emscripten (cmake --preset web):
# each program is a .js and a .wasm beside a page of ours, in the build
# folder itself. Windows, timers and events come from Emscripten's HTML5
# API; velmora renders through WebGL 1 (render/webgl). Programs in a page
# write no files, so there are no capture tools here.
set(CUBES_GL_CONTEXT webgl)
set(CUBES_TOOLS OFF)
# The tests are the pages themselves in headless Chromium (tests/web).
set(CUBES_GTEST OFF)
set(CUBES_WEB_OUTPUT_DIR ${CMAKE_BINARY_DIR})

# WebGL comes with Emscripten's own library; nothing to find.
add_library(cubes_gl INTERFACE)
add_library(Cubes::GL ALIAS cubes_gl)

# Emscripten's zlib and libpng are downloads at build time, which this
# project does not rely on: both are built from Debian's source packages,
# once per build folder.
include(DebianLibpng)
# zlib's CMake build wants files that Debian's tarball leaves out; its own
# configure script, run through Emscripten's wrappers, builds the static
# library alone.
find_program(CUBES_EMCONFIGURE emconfigure REQUIRED)
find_program(CUBES_EMMAKE emmake REQUIRED)
cubes_debian_source(PACKAGE zlib DIR ${CMAKE_BINARY_DIR}/deps/zlib
                    CONFIGURE_COMMAND ${CUBES_EMCONFIGURE} ./configure --static
                    MAKE_COMMAND ${CUBES_EMMAKE} make)
set(ZLIB_ROOT ${CUBES_DEBIAN_SOURCE_PREFIX})
cubes_debian_libpng(DIR ${CMAKE_BINARY_DIR}/deps/libpng TOOLCHAIN ${CMAKE_TOOLCHAIN_FILE}
                    CMAKE_ARGS -DZLIB_INCLUDE_DIR=${ZLIB_ROOT}/include
                               -DZLIB_LIBRARY=${ZLIB_ROOT}/lib/libz.a
                               -DPNG_HARDWARE_OPTIMIZATIONS=OFF)
list(APPEND CMAKE_FIND_ROOT_PATH ${ZLIB_ROOT} ${CUBES_LIBPNG_PREFIX})
set(ZLIB_USE_STATIC_LIBS ON)
set(PNG_USE_STATIC_LIBS ON)

# The web tests drive the pages in headless Chromium with Node.js.
if(CUBES_TESTS)
  find_program(CUBES_NODE node REQUIRED)
  find_program(CUBES_CHROMIUM chromium REQUIRED)
endif()
