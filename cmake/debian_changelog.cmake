# Turns CHANGELOG.md into the changelog of the Linux packages, in the format
# Debian's tools read, compressed as Debian wants it (gzip -9, no name, no
# time stamp):
#   cmake -DINPUT=CHANGELOG.md -DOUTPUT=changelog.gz -DPACKAGE=<name>
#         -DVERSION=<version> -DMAINTAINER="<name> <address>" -DGZIP=<gzip>
#         -P debian_changelog.cmake
# An entry of CHANGELOG.md is a heading "## <version> (<YYYY-MM-DD>)" followed
# by items "- text", whose further lines are indented by two blanks. The
# newest entry comes first and must be the version being built.

# rfc5322_date(VARIABLE YYYY-MM-DD): the day at midnight UTC in the format of
# Debian's changelogs, "Mon, 07 Dec 2026 00:00:00 +0000". The day of the week
# by Sakamoto's method (January and February count to the year before).
function(rfc5322_date variable date)
  string(REGEX MATCH "^([0-9]+)-0?([0-9]+)-([0-9]+)$" _ "${date}")
  set(year ${CMAKE_MATCH_1})
  set(calendar_year ${CMAKE_MATCH_1})
  set(month ${CMAKE_MATCH_2})
  set(day ${CMAKE_MATCH_3})
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  list(GET months ${index} month_name)
  if(month LESS 3)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
  list(GET weekdays ${weekday} weekday_name)
  set(${variable} "${weekday_name}, ${day} ${month_name} ${calendar_year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

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
    rfc5322_date(entry_date "${date}")
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
