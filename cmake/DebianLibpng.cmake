# libpng for targets Debian ships no libpng for (32-bit Windows, WebAssembly):
# built from Debian's own libpng1.6 source package, with Debian's patches
# applied as dpkg-source applies them (they carry the security fixes), as a
# static library, once. Later configures find the finished install and skip
# every step.
#
#   include(DebianLibpng)
#   cubes_debian_libpng(DIR <work dir> TOOLCHAIN <toolchain file>
#                       [CMAKE_ARGS <extra arguments for libpng's CMake>...])
#
# installs into <work dir>/install and sets CUBES_LIBPNG_PREFIX to it in the
# caller. zlib comes from wherever the toolchain finds it (pass ZLIB_ROOT or
# the like in CMAKE_ARGS otherwise).
#
# Any other Debian source package with a CMake build goes the same way:
#
#   cubes_debian_source(PACKAGE <source package> DIR <work dir>
#                       TOOLCHAIN <toolchain file> [CMAKE_ARGS ...])
#
# sets CUBES_DEBIAN_SOURCE_PREFIX to its install folder. A package whose CMake
# build does not fit (zlib's wants files Debian's tarball leaves out) is built
# with its own configure script instead:
#
#   cubes_debian_source(PACKAGE <p> DIR <d> CONFIGURE_COMMAND <command...>
#                       MAKE_COMMAND <command...>)
#
# runs "<configure command> --prefix=<install>" and "<make command> install"
# in the unpacked source. As a script:
#
#   cmake -DDIR=<work dir> -DTOOLCHAIN=<file> [-DCMAKE_ARGS="a;b"] -P cmake/DebianLibpng.cmake
#
# The source package is fetched with apt from a list of deb-src lines kept in
# <work dir>/apt; the machine's own apt configuration and state are never
# touched. CUBES_DEBIAN_MIRROR and CUBES_DEBIAN_SUITE (default: this machine's
# release) choose where from; where the mirror has none of that release's
# versions, CUBES_DEBIAN_FALLBACK_SUITES (default: stable oldstable testing
# unstable) are tried in turn, with a warning.

function(_cubes_debian_run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${package} from Debian's source package: ${what} failed (${status}):\n${out}")
  endif()
endfunction()

# Fetches the newest version of ${package} that the mirror has from SUITE
# into ${arg_DIR}/download. Sets fetched (the version, or empty) and newest
# in the caller, and appends what went wrong to failures.
macro(_cubes_debian_fetch suite)
  message(STATUS "${package}: fetching Debian's source package (${suite})")
  set(fetched "")
  set(newest "")
  file(REMOVE_RECURSE ${apt})
  file(MAKE_DIRECTORY ${apt}/sources.list.d ${apt}/lists/partial ${apt}/cache/archives/partial)
  # The security archive too: a fixed version reaches it first.
  set(keyring /usr/share/keyrings/debian-archive-keyring.gpg)
  file(WRITE ${apt}/sources.list "deb-src [signed-by=${keyring}] ${CUBES_DEBIAN_MIRROR} ${suite} main\n")
  if(NOT suite MATCHES "^(testing|unstable|sid)$")
    file(APPEND ${apt}/sources.list
         "deb-src [signed-by=${keyring}] ${CUBES_DEBIAN_MIRROR}-security ${suite}-security main\n")
  endif()
  execute_process(COMMAND ${CUBES_APT_GET} ${apt_options} update
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    # A release without a security archive (or one not mirrored) still has
    # its main one.
    file(WRITE ${apt}/sources.list "deb-src [signed-by=${keyring}] ${CUBES_DEBIAN_MIRROR} ${suite} main\n")
    execute_process(COMMAND ${CUBES_APT_GET} ${apt_options} update
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  endif()
  if(NOT status EQUAL 0)
    string(APPEND failures "${suite}: apt-get update failed:\n${out}")
  else()
    # apt checks the files against the signed index; the unpacking applies
    # Debian's patches.
    execute_process(COMMAND ${CUBES_APT_CACHE} ${apt_options} showsrc ${package}
                    OUTPUT_VARIABLE sources ERROR_QUIET)
    string(REGEX MATCHALL "\nVersion: [^\n]+" versions "\n${sources}")
    list(TRANSFORM versions REPLACE "\nVersion: " "")
    list(REMOVE_DUPLICATES versions)
    list(SORT versions COMPARE NATURAL ORDER DESCENDING)
    if(NOT versions)
      string(APPEND failures "${suite}: no source package ${package}\n")
    endif()
    foreach(version IN LISTS versions)
      if(NOT newest)
        set(newest ${version})
      endif()
      file(REMOVE_RECURSE ${arg_DIR}/download)
      file(MAKE_DIRECTORY ${arg_DIR}/download)
      execute_process(COMMAND ${CUBES_APT_GET} ${apt_options} source --download-only
                              ${package}=${version}
                      WORKING_DIRECTORY ${arg_DIR}/download
                      RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
      if(status EQUAL 0)
        set(fetched ${version})
        break()
      endif()
      string(APPEND failures "${suite}: ${package} ${version}:\n${out}")
    endforeach()
  endif()
endmacro()

function(cubes_debian_libpng)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "DIR;TOOLCHAIN" "CMAKE_ARGS")
  cubes_debian_source(PACKAGE libpng1.6 DIR ${arg_DIR} TOOLCHAIN ${arg_TOOLCHAIN}
                      CMAKE_ARGS -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF
                                 -DPNG_EXECUTABLES=OFF -DPNG_FRAMEWORK=OFF ${arg_CMAKE_ARGS})
  set(CUBES_LIBPNG_PREFIX ${CUBES_DEBIAN_SOURCE_PREFIX} PARENT_SCOPE)
endfunction()

function(cubes_debian_source)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "PACKAGE;DIR;TOOLCHAIN"
                        "CMAKE_ARGS;CONFIGURE_COMMAND;MAKE_COMMAND")
  if(NOT arg_PACKAGE OR NOT arg_DIR OR NOT (arg_TOOLCHAIN OR arg_CONFIGURE_COMMAND))
    message(FATAL_ERROR "cubes_debian_source needs PACKAGE, DIR and TOOLCHAIN or CONFIGURE_COMMAND")
  endif()
  set(package ${arg_PACKAGE})
  set(prefix ${arg_DIR}/install)
  set(stamp ${prefix}/debian-${package}.done)
  set(CUBES_DEBIAN_SOURCE_PREFIX ${prefix} PARENT_SCOPE)
  if(EXISTS ${stamp})
    return()
  endif()

  find_program(CUBES_APT_GET apt-get)
  find_program(CUBES_APT_CACHE apt-cache)
  find_program(CUBES_DPKG_SOURCE dpkg-source)
  if(NOT CUBES_APT_GET OR NOT CUBES_APT_CACHE OR NOT CUBES_DPKG_SOURCE)
    message(FATAL_ERROR "${package} is built from Debian's source package: apt-get and dpkg-source "
                        "(package dpkg-dev) are needed; scripts/setup installs them")
  endif()
  if(NOT CUBES_DEBIAN_SUITE)
    file(STRINGS /etc/os-release codename REGEX "^VERSION_CODENAME=")
    string(REPLACE "VERSION_CODENAME=" "" CUBES_DEBIAN_SUITE "${codename}")
  endif()
  if(NOT CUBES_DEBIAN_SUITE)
    message(FATAL_ERROR "cannot tell the Debian release; set CUBES_DEBIAN_SUITE")
  endif()
  if(NOT CUBES_DEBIAN_MIRROR)
    set(CUBES_DEBIAN_MIRROR http://deb.debian.org/debian)
  endif()

  set(apt ${arg_DIR}/apt)
  file(REMOVE_RECURSE ${arg_DIR}/source ${arg_DIR}/build)
  set(apt_options
      -o Dir::Etc::SourceList=${apt}/sources.list
      -o Dir::Etc::SourceParts=${apt}/sources.list.d
      -o Dir::State::Lists=${apt}/lists
      -o Dir::Cache=${apt}/cache
      -o Debug::NoLocking=1
      # The folders belong to whoever builds; apt's download user may not
      # be able to write there.
      -o APT::Sandbox::User=
      -qq)
  # This release's source first. A mirror may lack every version its index
  # lists (a point release not mirrored yet, say); then the neighbouring
  # releases' sources, which carry Debian's patches all the same.
  if(NOT DEFINED CUBES_DEBIAN_FALLBACK_SUITES)
    set(CUBES_DEBIAN_FALLBACK_SUITES stable oldstable testing unstable)
  endif()
  set(suites ${CUBES_DEBIAN_SUITE} ${CUBES_DEBIAN_FALLBACK_SUITES})
  list(REMOVE_DUPLICATES suites)
  set(failures "")
  foreach(suite IN LISTS suites)
    _cubes_debian_fetch(${suite})
    if(fetched)
      if(NOT suite STREQUAL CUBES_DEBIAN_SUITE OR NOT fetched STREQUAL newest)
        message(WARNING "${package}: ${CUBES_DEBIAN_SUITE}'s newest source could not be fetched:\n"
                        "${failures}using ${fetched} from ${suite} instead")
      endif()
      break()
    endif()
  endforeach()
  if(NOT fetched)
    message(FATAL_ERROR "${package}: no source package could be fetched from ${suites}:\n${failures}")
  endif()
  file(GLOB dsc ${arg_DIR}/download/${package}_*.dsc)
  list(LENGTH dsc count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "${package}: expected one .dsc in ${arg_DIR}/download, found: ${dsc}")
  endif()
  _cubes_debian_run("dpkg-source -x" ${CUBES_DPKG_SOURCE} -x ${dsc} ${arg_DIR}/source)

  message(STATUS "${package}: building ${dsc}")
  if(arg_CONFIGURE_COMMAND)
    _cubes_debian_run("configure" ${CMAKE_COMMAND} -E chdir ${arg_DIR}/source
                      ${arg_CONFIGURE_COMMAND} --prefix=${prefix})
    _cubes_debian_run("build" ${CMAKE_COMMAND} -E chdir ${arg_DIR}/source
                      ${arg_MAKE_COMMAND} install)
    file(WRITE ${stamp} "${dsc}\n")
    message(STATUS "${package}: installed into ${prefix}")
    return()
  endif()
  if(CMAKE_GENERATOR)
    set(generator ${CMAKE_GENERATOR})
  else()
    set(generator Ninja)
  endif()
  _cubes_debian_run("configure" ${CMAKE_COMMAND} -S ${arg_DIR}/source -B ${arg_DIR}/build
                    -G ${generator}
                    -DCMAKE_TOOLCHAIN_FILE=${arg_TOOLCHAIN}
                    -DCMAKE_BUILD_TYPE=Release
                    -DCMAKE_INSTALL_PREFIX=${prefix}
                    ${arg_CMAKE_ARGS})
  _cubes_debian_run("build" ${CMAKE_COMMAND} --build ${arg_DIR}/build --target install)
  file(WRITE ${stamp} "${dsc}\n")
  message(STATUS "${package}: installed into ${prefix}")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  cubes_debian_libpng(DIR ${DIR} TOOLCHAIN ${TOOLCHAIN} CMAKE_ARGS ${CMAKE_ARGS})
endif()
