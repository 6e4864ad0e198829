# Linux (and any system with SDL2 and EGL): SDL2 windows, timers and events;
# velmora renders through EGL on Mesa, which needs no window system.
set(CUBES_GL_CONTEXT egl)
set(CUBES_LINUX ON)

find_package(PkgConfig REQUIRED)
pkg_check_modules(CUBES_SDL2 REQUIRED IMPORTED_TARGET GLOBAL sdl2)
pkg_check_modules(CUBES_GL REQUIRED IMPORTED_TARGET GLOBAL egl opengl glu)
pkg_check_modules(CUBES_X11 REQUIRED IMPORTED_TARGET GLOBAL x11)
pkg_check_modules(CUBES_WEBP REQUIRED IMPORTED_TARGET GLOBAL libwebpmux libwebpdemux libwebp)
add_library(Cubes::SDL2 ALIAS PkgConfig::CUBES_SDL2)
add_library(Cubes::GL ALIAS PkgConfig::CUBES_GL)
add_library(Cubes::X11 ALIAS PkgConfig::CUBES_X11)
add_library(Cubes::WebP ALIAS PkgConfig::CUBES_WEBP)

# Where SDL has a Wayland driver, wobblet shows its Wayland windows through
# shared-memory buffers of its own on the window's surface: libwayland-client.
include(CheckSymbolExists)
set(CMAKE_REQUIRED_INCLUDES ${CUBES_SDL2_INCLUDE_DIRS})
check_symbol_exists(SDL_VIDEO_DRIVER_WAYLAND SDL_config.h CUBES_SDL_WAYLAND)
unset(CMAKE_REQUIRED_INCLUDES)
if(CUBES_SDL_WAYLAND)
  pkg_check_modules(CUBES_WAYLAND_CLIENT REQUIRED IMPORTED_TARGET GLOBAL wayland-client)
  add_library(Cubes::WaylandClient ALIAS PkgConfig::CUBES_WAYLAND_CLIENT)
endif()
