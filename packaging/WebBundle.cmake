# The web bundle: the two pages with their scripts and WebAssembly, which
# is all they load (wobblet's background is inside its WebAssembly), with a
# README.txt saying how to serve them and LICENSE.txt.
foreach(program velmora wobblet)
  install(FILES ${CUBES_WEB_OUTPUT_DIR}/${program}.html ${CUBES_WEB_OUTPUT_DIR}/${program}.js
                ${CUBES_WEB_OUTPUT_DIR}/${program}.wasm
          DESTINATION .)
endforeach()
add_dependencies(cubes_installed velmora_web wobblet)
configure_file(web-README.txt.in ${CMAKE_CURRENT_BINARY_DIR}/web-README.txt @ONLY)
cubes_install_crlf(${CMAKE_CURRENT_BINARY_DIR}/web-README.txt README.txt)
cubes_install_crlf(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-web)
