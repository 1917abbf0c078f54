# Included by ctest each time it runs (see CMakeLists.txt): one test for each
# case of the case files as they are now, so that a case added, changed or
# deleted counts at the next run with no build in between. `runner` is the
# test program and `cases` the folder of the case files.
file(GLOB case_files "${cases}/*")
foreach(file IN LISTS case_files)
  get_filename_component(stem "${file}" NAME_WLE)
  file(READ "${file}" text)
  string(REGEX MATCHALL "(^|\n)=== case" starts "${text}")
  list(LENGTH starts count)
  while(count GREATER 0)
    add_test("Cases.Run/${stem}_${count}" "${runner}" "--gtest_filter=Cases.Run/${stem}_${count}")
    set_tests_properties("Cases.Run/${stem}_${count}" PROPERTIES TIMEOUT 120)
    math(EXPR count "${count} - 1")
  endwhile()
endforeach()
