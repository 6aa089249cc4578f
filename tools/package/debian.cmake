# The Debian package. After `cmake --build BUILD --target quark`, `cpack -G DEB` in BUILD writes
# qUaRk_<version>_<architecture>.deb, its dependencies found by dpkg-shlibdeps;
# tools/package-deb.sh builds with Debian's hardening flags and checks the result with lintian.

# What a Debian system wants beside the program: its copyright, a changelog and a manual page,
# compressed as Debian compresses them (gzip -9n: no name, no time, the same bytes every time).
set(QUARK_PACKAGE_MAINTAINER "" CACHE STRING "Maintainer of the package, \"Name <address>\"; empty: from DEBFULLNAME and DEBEMAIL")
if(QUARK_PACKAGE_MAINTAINER)
  set(quark_maintainer "${QUARK_PACKAGE_MAINTAINER}")
else()
  # As Debian's own tools (dch) find the packager: DEBFULLNAME and DEBEMAIL, else the login
  # name at this machine's full host name.
  set(quark_name "$ENV{DEBFULLNAME}")
  if(NOT quark_name)
    set(quark_name "qUaRk team")
  endif()
  set(quark_address "$ENV{DEBEMAIL}")
  if(NOT quark_address)
    execute_process(COMMAND id -un OUTPUT_VARIABLE quark_user OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND hostname -f OUTPUT_VARIABLE quark_host OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    set(quark_address "${quark_user}@${quark_host}")
  endif()
  set(quark_maintainer "${quark_name} <${quark_address}>")
endif()

set(quark_generated ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/tools/package/changelog.in ${quark_generated}/changelog @ONLY)
foreach(pair "changelog|${quark_generated}/changelog" "quark.6|${CMAKE_SOURCE_DIR}/tools/package/quark.6")
  string(REPLACE "|" ";" parts "${pair}")
  list(GET parts 0 name)
  list(GET parts 1 source)
  execute_process(COMMAND gzip -9n -c ${source} OUTPUT_FILE ${quark_generated}/${name}.gz RESULT_VARIABLE zipped)
  if(NOT zipped EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${source}")
  endif()
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/tools/package/changelog.in ${CMAKE_SOURCE_DIR}/tools/package/quark.6)
# The package is "quark", and its documents go where Debian looks for that name.
install(FILES tools/package/copyright ${quark_generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quark)
install(FILES ${quark_generated}/quark.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE quark_arch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT quark_arch)
  set(quark_arch amd64)
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quark)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "qUaRk_${PROJECT_VERSION}_${quark_arch}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "puzzle game of coloured blocks that join and burst")
set(CPACK_PACKAGE_DESCRIPTION
    "Take hold of a block and you hold its whole group, every block of the same
colour that touches it, and drag the group one cell at a time into free cells.
When one group holds every block of its colour, the colour bursts and leaves
the board; empty the board to solve the level.

553 levels on a scrolling level map, best times and move counts, undo that
survives a restart, a tutorial, 38 tile styles and 15 languages.")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${quark_arch})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${quark_maintainer}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(QUARK_HOME_PAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUARK_HOME_PAGE}")
endif()
include(CPack)
