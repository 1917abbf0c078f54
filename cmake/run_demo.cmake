# Converts the bundled sample game in a run folder of its own: the game and
# the data files are copied there and the three answers are piped in.
#   -DTOOL=<grottoprint> -DSOURCE_DIR=<project> -DRUN_DIR=<folder>
# Optional: -DCHOICE=<1..7> (graphics set), -DEXTENSION=<b|g|p>,
# -DGAME=<game file, relative to the project> (another game instead).
if(NOT DEFINED GAME)
  set(GAME examples/sample_caves.bd)
endif()
if(NOT DEFINED CHOICE)
  set(CHOICE 1)
endif()
if(NOT DEFINED EXTENSION)
  set(EXTENSION b)
endif()

file(REMOVE_RECURSE "${RUN_DIR}")
file(MAKE_DIRECTORY "${RUN_DIR}")
file(GLOB data_files "${SOURCE_DIR}/data/*")
file(COPY ${data_files} "${SOURCE_DIR}/${GAME}" DESTINATION "${RUN_DIR}")

get_filename_component(game_name "${GAME}" NAME)
file(WRITE "${RUN_DIR}/.answers" "${game_name}\n${CHOICE}\n${EXTENSION}\n\n")
execute_process(COMMAND "${TOOL}"
                WORKING_DIRECTORY "${RUN_DIR}"
                INPUT_FILE "${RUN_DIR}/.answers"
                RESULT_VARIABLE status)
file(REMOVE "${RUN_DIR}/.answers")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "grottoprint ended with status ${status}")
endif()

file(GLOB pages "${RUN_DIR}/*.html")
message(STATUS "Pictures and page written to ${RUN_DIR}")
foreach(page IN LISTS pages)
  message(STATUS "Open ${page}")
endforeach()
