// Test helpers: give the input file a text of the test's own, and let a death
// test see the console transcript of the step that ended the run.
#pragma once

#include <cstdio>
#include <string>
#include <unistd.h>

// Writes the text to a fresh temporary file and opens it as the input file,
// read exactly as the tool reads its input.
void UseInputText(const std::string &text);

// A regular expression that matches exactly the given console transcript.
std::string WholeTranscript(const std::string &text);

// Runs the step with the console sent to standard error, where a death test
// matches its expression.
template <typename Step> void WithConsoleOnStderr(Step step) {
  std::fflush(stdout);
  dup2(STDERR_FILENO, STDOUT_FILENO);
  step();
}
