// Test helpers for the readers of the input file.
#include "bdcff/input_text.h"

#include "driver/console_dialog.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string_view>

void UseInputText(const std::string &text) {
  std::string name = (std::filesystem::temp_directory_path() / "reader-XXXXXX").string();
  const int descriptor = mkstemp(name.data());
  if (descriptor < 0) throw std::runtime_error("mkstemp failed");
  const bool written =
      write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(descriptor);
  const bool opened = written && OpenTextLines(InputFile, name);
  unlink(name.c_str()); // the open stream keeps the file's bytes
  if (!opened) throw std::runtime_error("cannot prepare the input text");
}

std::string WholeTranscript(const std::string &text) {
  constexpr std::string_view Special = ".[]()*+?{}|^$\\";
  std::string expression = "^";
  for (char c : text) {
    if (Special.find(c) != std::string_view::npos) expression.push_back('\\');
    expression.push_back(c);
  }
  return expression + "$";
}
