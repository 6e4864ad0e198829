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
