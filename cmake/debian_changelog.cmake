# Turns CHANGELOG.md into the changelog of the Linux packages, in the format
# Debian's tools read, compressed as Debian wants it (gzip -9, no name, no
# time stamp):
#   cmake -DINPUT=CHANGELOG.md -DOUTPUT=changelog.gz -DPACKAGE=<name>
#         -DVERSION=<version> -DMAINTAINER="<name> <address>" -DGZIP=<gzip>
#         -P debian_changelog.cmake
# An entry of CHANGELOG.md is a heading "## <version> (<YYYY-MM-DD>)" followed
# by items "- text", whose further lines are indented by two blanks. The
# newest entry comes first and must be the version being built.
file(READ "${INPUT}" content)
set(text "")
set(entry_open FALSE)
# Line by line, without a CMake list, which would split at semicolons.
while(NOT content STREQUAL "")
  string(FIND "${content}" "\n" end)
  if(end EQUAL -1)
    set(line "${content}")
    set(content "")
  else()
    string(SUBSTRING "${content}" 0 ${end} line)
    math(EXPR end "${end} + 1")
    string(SUBSTRING "${content}" ${end} -1 content)
  endif()
  string(REGEX REPLACE "\r$" "" line "${line}")
  if(line MATCHES "^## ([^ ]+) \\(([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])\\)$")
    set(version ${CMAKE_MATCH_1})
    set(date ${CMAKE_MATCH_2})
    if(entry_open)
      string(APPEND text "\n -- ${MAINTAINER}  ${entry_date}\n\n")
    elseif(NOT version STREQUAL VERSION)
      message(FATAL_ERROR "${INPUT}: the newest entry is ${version}, not the version ${VERSION} being built")
    endif()
    # The day of the week and the month name come from the calendar, in the
    # format of RFC 5322 that Debian's changelogs use.
    execute_process(COMMAND date -u -R -d "${date} 00:00:00"
                    OUTPUT_VARIABLE entry_date OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND text "${PACKAGE} (${version}) unstable; urgency=medium\n\n")
    set(entry_open TRUE)
  elseif(NOT entry_open)
    # The title and the words before the first entry are not part of it.
  elseif(line MATCHES "^- (.*)$")
    string(APPEND text "  * ${CMAKE_MATCH_1}\n")
  elseif(line MATCHES "^  (.*)$")
    string(APPEND text "    ${CMAKE_MATCH_1}\n")
  elseif(line MATCHES "^## ")
    message(FATAL_ERROR "${INPUT}: an entry heading must read '## <version> (YYYY-MM-DD)': ${line}")
  elseif(NOT line STREQUAL "")
    message(FATAL_ERROR "${INPUT}: a line of an entry must be an item '- ...' or its continuation: ${line}")
  endif()
endwhile()
if(NOT entry_open)
  message(FATAL_ERROR "${INPUT} holds no entry '## <version> (YYYY-MM-DD)'")
endif()
string(APPEND text "\n -- ${MAINTAINER}  ${entry_date}\n")

get_filename_component(plain "${OUTPUT}" NAME_WLE)
get_filename_component(folder "${OUTPUT}" DIRECTORY)
file(WRITE "${folder}/${plain}" "${text}")
execute_process(COMMAND "${GZIP}" -9nf "${plain}" WORKING_DIRECTORY "${folder}"
                COMMAND_ERROR_IS_FATAL ANY)
