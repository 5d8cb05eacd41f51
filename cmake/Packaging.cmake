# Binary package for Debian-based systems: `cpack -G DEB` in the build
# directory (or the `package` target) makes pigmo_<version>_<arch>.deb from
# the project's install rules, installed under /usr.
include_guard(GLOBAL)

# Only the Debian package is set up; other platforms package nothing yet.
if(NOT (UNIX AND NOT APPLE))
  return()
endif()

set(CPACK_PACKAGE_NAME "pigmo")
set(CPACK_PACKAGE_VERSION "${CMAKE_PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Pigmo developers")
set(CPACK_PACKAGE_CONTACT "Pigmo developers <pigmo@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Colour converter for billboard effect colour arrays")
# Kept to short lines: they become the long description in debian/control.
set(CPACK_PACKAGE_DESCRIPTION
"Pigmo turns red, green and blue channel values from 0 to 255 and an
opacity from 0 to 100 into fractions from 0 to 1, shows a swatch of the
colour and builds a four-element colour array text such as [1,1,1,1]
for a game's billboard effects.")

# What Debian's policy asks of every package besides the program: the
# copyright file and the changelog in /usr/share/doc/pigmo, the manual page,
# each compressed the reproducible way (no name, no time stamp).
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/pigmo)
set(gz_dir ${CMAKE_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/packaging/pigmo.1.in ${gz_dir}/pigmo.1 @ONLY)  # with the project's version
add_custom_command(
  OUTPUT ${gz_dir}/changelog.gz ${gz_dir}/pigmo.1.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${gz_dir}
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${gz_dir}/changelog.gz
  COMMAND gzip -9nc ${gz_dir}/pigmo.1 > ${gz_dir}/pigmo.1.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog ${gz_dir}/pigmo.1
  VERBATIM)
add_custom_target(pigmo_package_docs ALL DEPENDS ${gz_dir}/changelog.gz ${gz_dir}/pigmo.1.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${gz_dir}/changelog.gz DESTINATION ${doc_dir})
install(FILES ${gz_dir}/pigmo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
# The package never carries debug information, even from a Debug tree, nor
# the compiler's notes (.comment, .note): stripped as dh_strip does.
set(CPACK_PIGMO_STRIP "${CMAKE_STRIP}")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebStrip.cmake)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Depends is worked out from the linked libraries (Qt, ICU, libstdc++) by
# dpkg-shlibdeps (dpkg-dev), which needs `file` to find the ELF files. Qt's
# X11 platform plugin is only recommended by Qt's GUI library, and the
# window cannot open without it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")

set(CPACK_SOURCE_GENERATOR "TGZ")
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/out/" "__pycache__")

include(CPack)
