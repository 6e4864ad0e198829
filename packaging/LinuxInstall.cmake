# The Linux installation, relative to the prefix, and its Debian package.
include(GNUInstallDirs)
set(share ${CMAKE_INSTALL_DATADIR})
set(generated ${CMAKE_CURRENT_BINARY_DIR})

install(TARGETS velmora wobblet velmora-capture wobblet-capture
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
add_dependencies(cubes_installed velmora wobblet velmora-capture wobblet-capture)

add_subdirectory(icons)
add_dependencies(cubes_installed cubes_icons)
foreach(size IN LISTS CUBES_ICON_SIZES)
  foreach(program velmora wobblet)
    install(FILES ${CUBES_ICON_DIR}/${program}-${size}.png
            DESTINATION ${share}/icons/hicolor/${size}x${size}/apps RENAME ${program}.png)
  endforeach()
endforeach()

# A dock matches a window to its desktop entry by the window's class (X11)
# or app id (Wayland). velmora names both after its title, wobblet leaves
# SDL to name them after the executable.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
set(VELMORA_WINDOW_CLASS "${VELMORA_WINDOW_TITLE}")
set(WOBBLET_WINDOW_CLASS wobblet)

# Debian's packages compress man pages and changelogs, without a time stamp
# so that the same input gives the same package.
find_program(CUBES_GZIP gzip REQUIRED)
function(cubes_install_gzipped source destination)
  get_filename_component(name ${source} NAME)
  add_custom_command(
    OUTPUT ${generated}/${name}.gz
    COMMAND ${CUBES_GZIP} -9nkf ${source}
    COMMAND ${CMAKE_COMMAND} -E rename ${source}.gz ${generated}/${name}.gz
    DEPENDS ${source}
    VERBATIM)
  add_custom_target(cubes_gz_${name} ALL DEPENDS ${generated}/${name}.gz)
  add_dependencies(cubes_installed cubes_gz_${name})
  install(FILES ${generated}/${name}.gz DESTINATION ${destination})
endfunction()

foreach(program velmora wobblet)
  configure_file(${program}.desktop.in ${generated}/${program}.desktop @ONLY)
  # AppStream wants a reverse domain name and a home page; the reserved
  # .invalid says there is no such domain to look up.
  set(metainfo ${generated}/invalid.velmora_wobblet.${program}.metainfo.xml)
  configure_file(${program}.metainfo.xml.in ${metainfo} @ONLY)
  configure_file(${program}.1.in ${generated}/man/${program}.1 @ONLY)
  install(FILES ${generated}/${program}.desktop DESTINATION ${share}/applications)
  install(FILES ${metainfo} DESTINATION ${share}/metainfo)
  cubes_install_gzipped(${generated}/man/${program}.1 ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The capture tools' man pages come from their own --help and --version.
# help2man is a packaging tool: a machine set up only to build and run the
# programs installs them without these two pages.
find_program(CUBES_HELP2MAN help2man)
if(CUBES_HELP2MAN)
  set(velmora_summary "write velmora's pictures without a window")
  set(wobblet_summary "write wobblet's pictures without a window")
  foreach(program velmora wobblet)
    set(page ${generated}/man/${program}-capture.1)
    add_custom_command(
      OUTPUT ${page}
      COMMAND ${CUBES_HELP2MAN} --no-info --no-discard-stderr --section=1
              --name=${${program}_summary} --output=${page} $<TARGET_FILE:${program}-capture>
      DEPENDS ${program}-capture
      COMMENT "Writing the man page of ${program}-capture"
      VERBATIM)
    cubes_install_gzipped(${page} ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
else()
  message(STATUS "help2man not found: the capture tools are installed without man pages")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CUBES_AUTHORS} <authors@velmora-wobblet.invalid>")
set(CPACK_PACKAGE_DESCRIPTION
    "velmora shows a cube of control points that warps, spins and tumbles, drawn
with OpenGL as lit polygons whose colours ripple over time. wobblet shows a
red wire-frame cube that wobbles like jelly over a background picture.
Both come with a capture tool that writes their pictures as PNG or
animated WebP files without a window.")

# Debian's documentation folder is named after the package; its copyright
# file is the licence in Debian's machine-readable form.
set(doc ${share}/doc/${CPACK_PACKAGE_NAME})
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${doc})
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(FIND "${licence}" "Permission is hereby granted" at)
string(SUBSTRING "${licence}" ${at} -1 CUBES_LICENCE_TEXT)
string(STRIP "${CUBES_LICENCE_TEXT}" CUBES_LICENCE_TEXT)
string(REPLACE "\n\n" "\n.\n" CUBES_LICENCE_TEXT "${CUBES_LICENCE_TEXT}")
string(REPLACE "\n" "\n " CUBES_LICENCE_TEXT " ${CUBES_LICENCE_TEXT}")
configure_file(copyright.in ${generated}/copyright @ONLY)
install(FILES ${generated}/copyright DESTINATION ${doc})
configure_file(changelog.in ${generated}/changelog.Debian @ONLY)
cubes_install_gzipped(${generated}/changelog.Debian ${doc})
