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

# The win32-threads runtime's calls of what Windows XP lacks go through
# cmake/toolchains/mingw-w64-xp-imports.c in every program of that build.
if(CUBES_XP_IMPORTS_SOURCE)
  add_library(cubes_xp_imports OBJECT ${CUBES_XP_IMPORTS_SOURCE})
  link_libraries("$<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:cubes_xp_imports>")
endif()

# Static archives, so the programs import nothing but system DLLs.
set(ZLIB_USE_STATIC_LIBS ON)

# Debian has no libpng or libwebp for this target: both are built from
# Debian's source packages (cmake/DebianLibpng.cmake), once per build folder.
# libwebp serves only the capture tools' animations; the programs do not link it.
if(CMAKE_CROSSCOMPILING AND EXISTS /etc/debian_version)
  option(CUBES_LIBS_FROM_DEBIAN "Build libpng and libwebp from Debian's source packages" ON)
else()
  option(CUBES_LIBS_FROM_DEBIAN "Build libpng and libwebp from Debian's source packages" OFF)
endif()
if(CUBES_LIBS_FROM_DEBIAN)
  include(DebianLibpng)
  cubes_debian_libpng(DIR ${CMAKE_BINARY_DIR}/deps/libpng TOOLCHAIN ${CMAKE_TOOLCHAIN_FILE})
  list(APPEND CMAKE_FIND_ROOT_PATH ${CUBES_LIBPNG_PREFIX})
  cubes_debian_source(PACKAGE libwebp DIR ${CMAKE_BINARY_DIR}/deps/libwebp
                      TOOLCHAIN ${CMAKE_TOOLCHAIN_FILE}
                      CMAKE_ARGS -DWEBP_BUILD_ANIM_UTILS=OFF -DWEBP_BUILD_CWEBP=OFF
                                 -DWEBP_BUILD_DWEBP=OFF -DWEBP_BUILD_GIF2WEBP=OFF
                                 -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF
                                 -DWEBP_BUILD_WEBPINFO=OFF -DWEBP_BUILD_WEBPMUX=OFF
                                 -DWEBP_BUILD_EXTRAS=OFF)
  list(APPEND CMAKE_FIND_ROOT_PATH ${CUBES_DEBIAN_SOURCE_PREFIX})
endif()
find_package(Threads REQUIRED)
find_package(WebP CONFIG REQUIRED)
add_library(cubes_webp INTERFACE)
target_link_libraries(cubes_webp INTERFACE WebP::libwebpmux WebP::webpdemux WebP::webp)
add_library(Cubes::WebP ALIAS cubes_webp)

# The programs users run (and the capture tools beside them) must start on
# Windows XP SP3, which this build's compiler cannot give them when it is the
# one the tests need (cmake/toolchains/mingw-w64-i686.cmake). They are then
# built apart by the toolchain it names, in build/<preset>/programs, and copied
# into bin/; here they are imported targets, which the folders that would
# otherwise make them leave alone, so every test runs what ships.
if(CUBES_PROGRAMS_TOOLCHAIN)
  set(shipped velmora wobblet)
  if(CUBES_TOOLS)
    list(APPEND shipped velmora-capture wobblet-capture)
  endif()
  set(programs_dir ${CMAKE_BINARY_DIR}/programs)
  set(launchers)
  foreach(lang C CXX)
    if(CMAKE_${lang}_COMPILER_LAUNCHER)
      list(APPEND launchers -DCMAKE_${lang}_COMPILER_LAUNCHER=${CMAKE_${lang}_COMPILER_LAUNCHER})
    endif()
  endforeach()
  list(TRANSFORM shipped PREPEND ${programs_dir}/bin/ OUTPUT_VARIABLE built)
  list(TRANSFORM built APPEND .exe)
  include(ExternalProject)
  ExternalProject_Add(cubes_programs
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${programs_dir}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CUBES_PROGRAMS_TOOLCHAIN}
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DCUBES_WERROR=${CUBES_WERROR}
               -DCUBES_TESTS=OFF -DCUBES_BENCHMARKS=OFF ${launchers}
               # Stripped as the install would strip them: they are what ships.
               -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target ${shipped}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${built} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
    USES_TERMINAL_BUILD ON)
  foreach(program IN LISTS shipped)
    add_executable(${program} IMPORTED)
    set_target_properties(${program} PROPERTIES
      IMPORTED_LOCATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${program}.exe)
    add_dependencies(${program} cubes_programs)
  endforeach()
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
  # Wine's 32-bit half needs a kernel that runs 32-bit programs; a machine
  # whose kernel does not has Wine installed and no Windows program runs.
  set(CUBES_NO_WINE_REASON "Wine is not installed")
  if(CUBES_WINE)
    execute_process(COMMAND ${CUBES_WINE} --version RESULT_VARIABLE wine_status
                    OUTPUT_VARIABLE wine_said ERROR_VARIABLE wine_said TIMEOUT 60)
    if(NOT wine_status EQUAL 0)
      string(STRIP "${wine_said}" wine_said)
      set(CUBES_NO_WINE_REASON "Wine cannot run here (${wine_said})")
      message(STATUS "${CUBES_NO_WINE_REASON}: the Windows tests will say they cannot run")
      unset(CUBES_WINE CACHE)
      set(CUBES_WINE "")
    endif()
  endif()
  if(CUBES_WINE)
    set(CUBES_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  endif()
endif()
