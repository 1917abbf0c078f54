// Helpers shared by the unit tests.
#pragma once

#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

// Expects `statement` to report the error `text`: the process prints "Error: ",
// the text and the request to press ENTER, and ends with status 1. The child's
// standard output is sent to its standard error, where the death test looks.
#define EXPECT_REPORTS_ERROR(statement, text)                                                      \
  EXPECT_EXIT(                                                                                     \
      {                                                                                            \
        dup2(STDERR_FILENO, STDOUT_FILENO);                                                        \
        statement;                                                                                 \
      },                                                                                           \
      testing::ExitedWithCode(1),                                                                  \
      testing::HasSubstr(std::string("Error: ") + (text) + "\nPress ENTER to exit.\n"))
