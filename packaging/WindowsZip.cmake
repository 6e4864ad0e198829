# The Windows zip: the four programs side by side with README.txt and
# LICENSE.txt.
set(velmora_description "velmora, a cube that warps, spins and tumbles")
set(wobblet_description "wobblet, a wire-frame cube that wobbles like jelly")
set(velmora-capture_description "velmora-capture, velmora's pictures without a window")
set(wobblet-capture_description "wobblet-capture, wobblet's pictures without a window")
set(version_parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR})
foreach(part PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    list(APPEND version_parts 0)
  else()
    list(APPEND version_parts ${PROJECT_VERSION_${part}})
  endif()
endforeach()
string(JOIN "," CUBES_VERSION_COMMAS ${version_parts})

set(programs velmora wobblet velmora-capture wobblet-capture)
foreach(name IN LISTS programs)
  # Explorer shows these in the file's properties.
  set(description "${${name}_description}")
  configure_file(version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${name}-version.rc @ONLY)
  target_sources(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${name}-version.rc)
endforeach()

install(TARGETS ${programs} RUNTIME DESTINATION .)
add_dependencies(cubes_installed ${programs})
cubes_install_crlf(${PROJECT_SOURCE_DIR}/README.md README.txt)
cubes_install_crlf(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-windows-x86)
