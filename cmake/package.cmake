# `cpack -G DEB` in the build folder makes orvela_<version>_<arch>.deb: what `cmake --install`
# puts under /usr, stripped, with the man pages compressed and the licence and changelog where
# Debian keeps them (debian-layout.cmake), and the shared libraries' packages as Depends
# (dpkg-shlibdeps, from dpkg-dev; CPack also needs `file`).

set(ORVELA_DEB_MAINTAINER "Kestrin Software <orvela@kestrinsoftware.com>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvela)
# All four parts: CPack would keep three.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kestrin Software")
set(CPACK_PACKAGE_CONTACT "${ORVELA_DEB_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.kestrinsoftware.com/orvela/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulate orthodontic tooth movement in two dimensions")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Orvela places lower canines, premolars and first molars seen from the side,
each with a bracket, ties straight pieces of orthodontic wire of a chosen alloy
and cross-section between the brackets, and shows the forces and moments each
wire exerts on each tooth. It runs the movement step by step until the forces
fall under set thresholds.

The package also holds orvela-run, which runs a setup file without a window
and reports the force systems as text or JSON, and example setups.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME orvela)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own libraries only recommend the platform plugins, without which no window opens.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The changelog's one entry is this version's release, dated as in the AppStream file.
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/metainfo/com.kestrinsoftware.orvela.metainfo.xml
  release_line REGEX "<release version=\"${PROJECT_VERSION}\" date=\"[0-9-]+\"")
string(REGEX REPLACE ".*date=\"([0-9-]+)\".*" "\\1" release_date "${release_line}")
if(NOT release_date MATCHES "^[0-9]+-[0-9]+-[0-9]+$")
  message(FATAL_ERROR "The AppStream file has no dated release ${PROJECT_VERSION}")
endif()
execute_process(COMMAND date -u -R -d "${release_date} 12:00"
  OUTPUT_VARIABLE ORVELA_DEB_DATE OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(ORVELA_DEB_VERSION ${PROJECT_VERSION})
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in
  ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)

# Read by debian-layout.cmake, which CPack runs on its staging tree.
set(CPACK_ORVELA_COPYRIGHT ${PROJECT_SOURCE_DIR}/resources/debian/copyright)
set(CPACK_ORVELA_CHANGELOG ${PROJECT_BINARY_DIR}/debian/changelog)
set(CPACK_ORVELA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orvela)
set(CPACK_ORVELA_MAN_DIR ${CMAKE_INSTALL_MANDIR})
set(CPACK_ORVELA_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian-layout.cmake)

include(CPack)
