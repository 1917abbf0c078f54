# What is installed, and the "packages" target that makes the release packages
# of it (cmake/make_packages.sh). The Windows tool is installed as one flat
# folder ready to use; elsewhere the tool, its data files and the man page go
# to the usual places under the prefix.
list(TRANSFORM GRAPHICS_SETS PREPEND data/ OUTPUT_VARIABLE data_files)
list(APPEND data_files data/html_structure.txt examples/sample_caves.bd)

# The newest entry of CHANGELOG.md must be the version being built.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS CHANGELOG.md)
file(STRINGS CHANGELOG.md newest REGEX "^## " LIMIT_COUNT 1)
if(NOT newest MATCHES "^## ([^ ]+) " OR NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "CHANGELOG.md: the newest entry '${newest}' is not version ${PROJECT_VERSION}")
endif()

if(WIN32)
  set(README_TITLE "Grottoprint ${PROJECT_VERSION} for Windows")
  string(REGEX REPLACE "." "=" README_TITLE_LINE "${README_TITLE}")
  install(TARGETS grottoprint RUNTIME DESTINATION .)
  install(FILES ${data_files} DESTINATION .)
  # The text files to read, with Windows line ends.
  foreach(text packaging/README.txt.in LICENSE CHANGELOG.md)
    get_filename_component(stem ${text} NAME_WE)
    configure_file(${text} ${stem}.txt @ONLY NEWLINE_STYLE CRLF)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${stem}.txt DESTINATION .)
  endforeach()
  set(package_name grottoprint-${PROJECT_VERSION}-windows-x64)
  set(package_tools grottoprint)
else()
  include(GNUInstallDirs)
  install(TARGETS grottoprint RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${data_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/grottoprint)
  list(JOIN GRAPHICS_SETS " \", \" " MAN_GRAPHICS_SETS)
  configure_file(packaging/grottoprint.1.in grottoprint.1 @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/grottoprint.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # The tar.gz's tool carries its C++ runtime, for Linux systems whose own is
  # older; the .deb's links Debian's shared libraries.
  add_executable(grottoprint_portable EXCLUDE_FROM_ALL main.cpp)
  target_link_libraries(grottoprint_portable PRIVATE grottoprint_core)
  target_link_options(grottoprint_portable PRIVATE -static-libstdc++ -static-libgcc)
  set(package_name grottoprint-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
  set(package_tools grottoprint grottoprint_portable)
endif()

add_custom_target(packages
  COMMAND bash cmake/make_packages.sh ${CMAKE_CURRENT_BINARY_DIR} ${package_name} ${PROJECT_VERSION}
  WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} USES_TERMINAL VERBATIM)
add_dependencies(packages ${package_tools})
