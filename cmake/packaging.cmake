# Installation and release packages. The Windows tool is installed as one
# flat folder ready to use; elsewhere the tool, its data files, the man page,
# the changelog and the licence go to the usual places under the prefix.
set(GROTTOPRINT_DATA_FILES
    ${CMAKE_CURRENT_SOURCE_DIR}/data/graphics_original.txt
    ${CMAKE_CURRENT_SOURCE_DIR}/data/graphics_original_bd2.txt
    ${CMAKE_CURRENT_SOURCE_DIR}/data/graphics_ghost.txt
    ${CMAKE_CURRENT_SOURCE_DIR}/data/graphics_pumpkin.txt
    ${CMAKE_CURRENT_SOURCE_DIR}/data/graphics_ghost_pumpkin.txt
    ${CMAKE_CURRENT_SOURCE_DIR}/data/graphics_space.txt
    ${CMAKE_CURRENT_SOURCE_DIR}/data/graphics_santa.txt
    ${CMAKE_CURRENT_SOURCE_DIR}/data/html_structure.txt
    ${CMAKE_CURRENT_SOURCE_DIR}/examples/sample_caves.bd)
set(GROTTOPRINT_MAINTAINER "Grottoprint developers <grottoprint@example.org>")

if(WIN32)
  set(README_TITLE "Grottoprint ${PROJECT_VERSION} for Windows")
  string(REGEX REPLACE "." "=" README_TITLE_LINE "${README_TITLE}")
  configure_file(packaging/README.txt.in README.txt @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS grottoprint RUNTIME DESTINATION .)
  install(FILES ${GROTTOPRINT_DATA_FILES} ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION .)
  install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
  install(FILES CHANGELOG.md DESTINATION . RENAME CHANGELOG.txt)
else()
  include(GNUInstallDirs)
  install(TARGETS grottoprint RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${GROTTOPRINT_DATA_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/grottoprint)

  # The man page and the changelog are compressed as Debian wants them: at
  # the highest level, without a name or a time stamp in the gzip header.
  find_program(GROTTOPRINT_GZIP gzip REQUIRED)
  configure_file(packaging/grottoprint.1.in grottoprint.1 @ONLY)
  add_custom_command(OUTPUT grottoprint.1.gz
                     COMMAND ${GROTTOPRINT_GZIP} -9nkf grottoprint.1
                     DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/grottoprint.1 VERBATIM)
  add_custom_command(OUTPUT changelog.gz
                     COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_CURRENT_SOURCE_DIR}/CHANGELOG.md
                             -DOUTPUT=${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
                             -DPACKAGE=grottoprint -DVERSION=${PROJECT_VERSION}
                             -DMAINTAINER=${GROTTOPRINT_MAINTAINER} -DGZIP=${GROTTOPRINT_GZIP}
                             -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/debian_changelog.cmake
                     DEPENDS CHANGELOG.md cmake/debian_changelog.cmake VERBATIM)
  add_custom_target(documents ALL DEPENDS grottoprint.1.gz changelog.gz)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/grottoprint.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  # The copyright file in Debian's machine-readable format, around the licence.
  file(READ LICENSE licence)
  string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" copyright_line "${licence}")
  set(COPYRIGHT_HOLDERS "${CMAKE_MATCH_1}")
  string(REGEX REPLACE "^[^\n]*\n\n[^\n]*\n\n" "" licence "${licence}") # title and copyright line
  string(REGEX REPLACE "\n+$" "" licence "${licence}")
  string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
  string(REGEX REPLACE "\n" "\n " LICENCE_TEXT " ${licence}")
  configure_file(packaging/copyright.in copyright @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz ${CMAKE_CURRENT_BINARY_DIR}/copyright
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/grottoprint)
endif()

# CPack installs into a staging folder and hands it to make_packages.cmake,
# which writes the archives byte for byte reproducibly and a checksum beside
# each (CPack's own archive writers follow the folder's listing order and the
# file system's sizes).
set(CPACK_PACKAGE_NAME grottoprint)
set(CPACK_PACKAGE_VENDOR "Grottoprint developers")
set(CPACK_PACKAGE_CONTACT "${GROTTOPRINT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pictures and a web page of the caves of a BDCFF game")
set(CPACK_PACKAGE_DESCRIPTION
    "Grottoprint reads a game file in BDCFF, the plain-text format that describes
the caves of a BD game, and writes one 648x360 24-bit BMP picture per cave
and one HTML page that shows the game's properties and a card per cave.
It asks three questions on the console: the game file, one of seven graphics
sets (or a graphics file of your own) and the picture extension the page
uses. The graphics sets, the page template and a sample game are installed
in /usr/share/grottoprint.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
if(NOT WIN32)
  set(CPACK_STRIP_FILES ON) # the Windows tool is stripped as it is linked: strip stamps PE headers
endif()
set(CPACK_GENERATOR External)
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/cmake/make_packages.cmake)
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_GROTTOPRINT_SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
if(WIN32)
  set(CPACK_PACKAGE_FILE_NAME grottoprint-${PROJECT_VERSION}-windows-x64)
  set(CPACK_GROTTOPRINT_FORMATS zip)
else()
  set(CPACK_PACKAGE_FILE_NAME grottoprint-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_GROTTOPRINT_FORMATS tar.gz deb)
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
endif()
include(CPack)
