// Test helper: a death test's pattern for a whole console transcript.
#pragma once

#include <string>

// A regular expression that matches exactly the given console transcript.
std::string WholeTranscript(const std::string &text);
