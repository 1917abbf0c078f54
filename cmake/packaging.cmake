# Installation and release packages. The Windows tool is installed as one
# flat folder ready to use; elsewhere the tool, its data files, the man page
# and the licence go to the usual places under the prefix.
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

if(WIN32)
  install(TARGETS grottoprint RUNTIME DESTINATION .)
  install(FILES ${GROTTOPRINT_DATA_FILES} ${CMAKE_CURRENT_SOURCE_DIR}/packaging/README.txt
          DESTINATION .)
  install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
else()
  include(GNUInstallDirs)
  install(TARGETS grottoprint RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${GROTTOPRINT_DATA_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/grottoprint)
  set(man_page ${CMAKE_CURRENT_BINARY_DIR}/grottoprint.1.gz)
  file(ARCHIVE_CREATE OUTPUT ${man_page} PATHS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/grottoprint.1
       FORMAT raw COMPRESSION GZip)
  install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/grottoprint RENAME copyright)
endif()

set(CPACK_PACKAGE_NAME grottoprint)
set(CPACK_PACKAGE_VENDOR "The Grottoprint developers")
set(CPACK_PACKAGE_CONTACT "The Grottoprint developers <grottoprint@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Pictures and a web page of the caves of a BDCFF game file")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME grottoprint-${PROJECT_VERSION}-windows-x64)
else()
  set(CPACK_GENERATOR "TGZ;DEB")
  set(CPACK_PACKAGE_FILE_NAME grottoprint-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
