# Converts a game in a run folder of its own: the game and the data files are
# copied there and the answers (the game, set 1, extension b) piped in.
#   cmake -DTOOL=<grottoprint> -DRUN_DIR=<folder> [-DGAME=<game file, relative
#         to the project; the sample game by default>] -P run_demo.cmake
get_filename_component(source "${CMAKE_CURRENT_LIST_DIR}" DIRECTORY)
if(NOT DEFINED GAME)
  set(GAME examples/sample_caves.bd)
endif()
file(REMOVE_RECURSE "${RUN_DIR}")
file(GLOB data_files "${source}/data/*")
file(COPY ${data_files} "${source}/${GAME}" DESTINATION "${RUN_DIR}")
get_filename_component(game "${GAME}" NAME)
file(WRITE "${RUN_DIR}/.answers" "${game}\n1\nb\n\n")
execute_process(COMMAND "${TOOL}" WORKING_DIRECTORY "${RUN_DIR}" INPUT_FILE "${RUN_DIR}/.answers"
                RESULT_VARIABLE status)
file(REMOVE "${RUN_DIR}/.answers")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "grottoprint ended with status ${status}")
endif()
file(GLOB page "${RUN_DIR}/*.html")
message(STATUS "Pictures and page written to ${RUN_DIR}; open ${page}")
