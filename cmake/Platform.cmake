# The one place that picks the platform, finds every dependency and decides
# which platform-only pieces are built. Everything below the top level reads
# what is set here:
#
#   CUBES_PLATFORM    the file set each folder adds: shell/<it>,
#                     demo/runtime/<it>, tests/velmora/<it>
#                     (cubes_add_platform_subdirectory)
#   CUBES_GL_CONTEXT  velmora's offscreen OpenGL context, render/<it>
#   CUBES_LINUX       the pieces that only exist on Linux: SDL and EGL, the
#                     smoke tests under a virtual X display, the preloaded
#                     present counter
#   CUBES_TOOLS       the capture tools, the artwork generator and the PNG
#                     files they write (off where programs write no files)
#   CUBES_GTEST       the GoogleTest programs under tests/ (off where the
#                     tests are of another kind: tests/<platform> has them)
#   Cubes::GL         the platform's OpenGL, GLU and context libraries
#   Cubes::SDL2, Cubes::X11   on Linux
#   CUBES_SDL_WAYLAND, Cubes::WaylandClient   SDL has a Wayland driver, and
#                     libwayland-client to show its windows with
#   Cubes::WebP       libwebp's animation encoder and demuxer, for the capture
#                     tools and their tests
#   PNG::PNG, ZLIB::ZLIB, GTest::gtest, GTest::gtest_main, benchmark::benchmark
#
# A platform may also make program targets itself (built apart with another
# compiler, then imported); the folder that would make such a target sees it
# exists already and leaves it alone (if(NOT TARGET ...)).
#
# A platform is one file in cmake/platforms/ that sets the variables above
# and finds what only it needs; adding one means adding that file, its name
# below, and its folders.
set(CUBES_PLATFORMS sdl win32 web)
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(default_platform win32)
elseif(EMSCRIPTEN)
  set(default_platform web)
else()
  set(default_platform sdl)
endif()
set(CUBES_PLATFORM ${default_platform} CACHE STRING "Platform to build for: ${CUBES_PLATFORMS}")
set_property(CACHE CUBES_PLATFORM PROPERTY STRINGS ${CUBES_PLATFORMS})
if(NOT CUBES_PLATFORM IN_LIST CUBES_PLATFORMS)
  message(FATAL_ERROR "CUBES_PLATFORM is \"${CUBES_PLATFORM}\"; choose one of ${CUBES_PLATFORMS}")
endif()

set(CUBES_LINUX OFF)
set(CUBES_TOOLS ON)
set(CUBES_GTEST ON)
include(${CMAKE_CURRENT_LIST_DIR}/platforms/${CUBES_PLATFORM}.cmake)
message(STATUS "Platform: ${CUBES_PLATFORM}, OpenGL context: ${CUBES_GL_CONTEXT}")

# Found once, for every platform; a platform file may have said where.
find_package(PNG REQUIRED)
find_package(ZLIB REQUIRED)
if(CUBES_TESTS AND CUBES_GTEST AND NOT TARGET GTest::gtest)
  find_package(GTest REQUIRED)
endif()
if(CUBES_BENCHMARKS)
  find_package(benchmark REQUIRED)
endif()

# Adds the current folder's file set for this platform, where it has one: a
# platform may not need every folder (or not have it yet).
macro(cubes_add_platform_subdirectory)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${CUBES_PLATFORM}/CMakeLists.txt)
    add_subdirectory(${CUBES_PLATFORM})
  endif()
endmacro()
