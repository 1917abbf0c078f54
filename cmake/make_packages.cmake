# Run by CPack after it has installed the release into its staging folder:
# writes the release archives (CPACK_GROTTOPRINT_FORMATS: tar.gz and deb, or
# zip) and a .sha256 file beside each. The same commit gives the same bytes in
# any folder, at any time and for any user: every entry carries the time of
# SOURCE_DATE_EPOCH (the commit's time when it is not set), owner root, the
# modes 644 and 755, and the entries stand in name order; gzip headers carry
# no time and no name.
set(stage "${CPACK_TEMPORARY_DIRECTORY}")
set(name "${CPACK_PACKAGE_FILE_NAME}")
get_filename_component(work "${stage}" DIRECTORY)

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git log -1 --format=%ct
                  WORKING_DIRECTORY "${CPACK_GROTTOPRINT_SOURCE_DIR}"
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE status ERROR_QUIET)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "The release packages take their time stamp from the commit: "
                        "outside a git clone, set SOURCE_DATE_EPOCH")
  endif()
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: '${epoch}'")
endif()
set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
set(ENV{TZ} UTC0)
set(ENV{LC_ALL} C)

function(run) # run COMMAND...: stops the packaging when the command fails
  execute_process(COMMAND ${ARGN} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# settle FOLDER: modes 644, or 755 for folders and programs, whatever the
# umask, and the one time stamp on every entry.
function(settle folder)
  run(chmod -R u=rwX,go=rX "${folder}")
  run(find "${folder}" -exec touch --no-dereference --date=@${epoch} {} +)
endfunction()

settle("${stage}")
set(built "")

if("tar.gz" IN_LIST CPACK_GROTTOPRINT_FORMATS)
  set(tarball "${work}/${name}.tar.gz")
  execute_process(COMMAND tar --create --format=gnu --sort=name --owner=0 --group=0
                          --numeric-owner --mtime=@${epoch} --directory "${work}" "${name}"
                  COMMAND gzip -9n
                  OUTPUT_FILE "${tarball}" COMMAND_ERROR_IS_FATAL ANY)
  list(APPEND built "${tarball}")
endif()

if("deb" IN_LIST CPACK_GROTTOPRINT_FORMATS)
  set(root "${work}/deb")
  file(REMOVE_RECURSE "${root}")
  file(MAKE_DIRECTORY "${root}/DEBIAN")
  file(COPY "${stage}/" DESTINATION "${root}/usr")

  # The installed size in KiB as Debian's tools count it: each file rounded
  # up to a whole KiB, each folder one KiB, whatever the file system.
  file(GLOB_RECURSE entries LIST_DIRECTORIES true "${root}/usr/*")
  list(SORT entries)
  set(size 1) # usr itself
  set(md5sums "")
  foreach(entry IN LISTS entries)
    if(IS_DIRECTORY "${entry}")
      math(EXPR size "${size} + 1")
    else()
      file(SIZE "${entry}" bytes)
      math(EXPR size "${size} + (${bytes} + 1023) / 1024")
      file(MD5 "${entry}" md5)
      file(RELATIVE_PATH path "${root}" "${entry}")
      string(APPEND md5sums "${md5}  ${path}\n")
    endif()
  endforeach()
  file(WRITE "${root}/DEBIAN/md5sums" "${md5sums}")

  # The libraries the tool needs, from the packages that provide them.
  file(WRITE "${work}/debian/control" "")
  execute_process(COMMAND dpkg-shlibdeps --ignore-missing-info -O "${root}/usr/bin/grottoprint"
                  WORKING_DIRECTORY "${work}" OUTPUT_VARIABLE depends
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX REPLACE "^shlibs:Depends=" "" depends "${depends}")
  execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE architecture
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

  # The long description: every line indented by one blank, an empty line as " .".
  string(REGEX REPLACE "\n\n" "\n.\n" description "${CPACK_PACKAGE_DESCRIPTION}")
  string(REPLACE "\n" "\n " description "${description}")
  file(WRITE "${root}/DEBIAN/control"
       "Package: ${CPACK_PACKAGE_NAME}\n"
       "Version: ${CPACK_PACKAGE_VERSION}\n"
       "Architecture: ${architecture}\n"
       "Maintainer: ${CPACK_PACKAGE_CONTACT}\n"
       "Installed-Size: ${size}\n"
       "Depends: ${depends}\n"
       "Section: ${CPACK_DEBIAN_PACKAGE_SECTION}\n"
       "Priority: optional\n"
       "Description: ${CPACK_PACKAGE_DESCRIPTION_SUMMARY}\n"
       " ${description}\n")
  settle("${root}")
  set(deb "${work}/${CPACK_PACKAGE_NAME}_${CPACK_PACKAGE_VERSION}_${architecture}.deb")
  run(dpkg-deb --root-owner-group -Zgzip -z9 --build "${root}" "${deb}")
  list(APPEND built "${deb}")
endif()

if("zip" IN_LIST CPACK_GROTTOPRINT_FORMATS)
  # Info-ZIP without its extra fields (owner, Unix times), so that only the
  # DOS time of the epoch in UTC remains.
  set(zip "${work}/${name}.zip")
  file(REMOVE "${zip}")
  file(GLOB_RECURSE entries RELATIVE "${work}" "${stage}/*")
  list(SORT entries)
  list(JOIN entries "\n" listing)
  file(WRITE "${work}/zip-listing" "${listing}\n")
  run(zip -X -D -9 -q "${zip}" -@ WORKING_DIRECTORY "${work}" INPUT_FILE "${work}/zip-listing")
  list(APPEND built "${zip}")
endif()

foreach(package IN LISTS built)
  file(SHA256 "${package}" sum)
  get_filename_component(file_name "${package}" NAME)
  file(WRITE "${package}.sha256" "${sum}  ${file_name}\n")
  list(APPEND CPACK_EXTERNAL_BUILT_PACKAGES "${package}" "${package}.sha256")
endforeach()
