// Test helper: a death test's pattern for a whole console transcript.
#include "bdcff/transcript_pattern.h"

#include <string_view>

std::string WholeTranscript(const std::string &text) {
  constexpr std::string_view Special = ".[]()*+?{}|^$\\";
  std::string expression = "^";
  for (char c : text) {
    if (Special.find(c) != std::string_view::npos) expression.push_back('\\');
    expression.push_back(c);
  }
  return expression + "$";
}
