# The Debian package: `cpack` (scripts/package.sh) packs what cmake/Install.cmake
# installs, under /usr, and adds what only a Debian package carries: the
# copyright file and the changelog in Debian's formats.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zavuv)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ZAVUV_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programmer for Atmel chips through an ISP board")
set(CPACK_PACKAGE_DESCRIPTION
    "ZAVUV is a desktop and command-line front end for an in-system programmer
board on a serial or USB-serial port. It programs Atmel chips over SPI:
ATtiny, ATmega and AT90 AVRs, the AT86RF401, AT89S 8051 parts, AT25 SPI
EEPROMs and AT45 DataFlash.

It loads Intel HEX and binary images, erases, programs, reads, verifies and
blank-checks chips, edits lock and fuse bits, keeps a whole job in a project
file and runs it as one auto-program command. A simulated board, also on a
pseudo-terminal (zavuv-boardsim), lets everything be tried without hardware.
Its texts exist in English and Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZAVUV_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZAVUV_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialog texts in Russian.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(zavuv_debian_files "${ZAVUV_PACKAGING_BINARY}/debian")
configure_file("${ZAVUV_PACKAGING_SOURCE}/debian/copyright.in" "${zavuv_debian_files}/copyright"
    @ONLY)
# The uncompressed changelog stays out of the folder its compressed copy goes to.
configure_file("${ZAVUV_PACKAGING_SOURCE}/debian/changelog.in"
    "${ZAVUV_PACKAGING_BINARY}/debian-changelog/changelog" @ONLY)
zavuv_gzip("${ZAVUV_PACKAGING_BINARY}/debian-changelog/changelog"
    "${zavuv_debian_files}/changelog.gz")
list(APPEND zavuv_generated "${zavuv_debian_files}/changelog.gz")
# Both go in by a script that only CPack runs (into its staging folder): a plain
# `cmake --install` does not get them.
configure_file("${ZAVUV_PACKAGING_SOURCE}/debian/InstallDebianFiles.cmake.in"
    "${zavuv_debian_files}/InstallDebianFiles.cmake" @ONLY)
set(CPACK_INSTALL_SCRIPTS "${zavuv_debian_files}/InstallDebianFiles.cmake")

include(CPack)
