// The console dialog: the input file, the graphics set and the picture extension.
#include "driver/console_dialog.h"

#include <array>
#include <string_view>

#include "bdcff/line_tokens.h"
#include "driver/build_facts.h"
#include "driver/reports.h"
#include "driver/run_sequence.h"

TextLines InputFile;
TextLines GraphicsFile;
std::string InputFileName;
std::string GraphicsFileName;
std::string PictureExtension;

namespace {

constexpr std::string_view InputQuestion = "Enter name of the input file:";
constexpr std::array<std::string_view, 9> GraphicsMenu = {
    "Which graphics set will be used?",
    " 1 = Original (BD1)",
    " 2 = Original (BD2)",
    " 3 = Ghost",
    " 4 = Pumpkin",
    " 5 = Ghost + Pumpkin",
    " 6 = Space (BD3)",
    " 7 = Santa",
    " 8 = Custom",
};
constexpr std::string_view CustomGraphicsQuestion = "Enter name of the graphics file: ";
constexpr std::string_view ExtensionQuestion =
    "Which extension for the pics in HTML file will be used?";
constexpr std::string_view ExtensionChoices = " b = bmp, g = gif, p = png";

std::string Ask() {
  WritePrompt();
  return ReadConsoleLine();
}

// The graphics file for the menu answer: one of the seven sets for 1 to 7,
// otherwise the name typed after a further question.
std::string GraphicsFileFor(const std::string &answer) {
  std::size_t position = 0;
  const std::int32_t choice = ReadNumber(answer, position);
  if (choice >= 1 && choice <= static_cast<std::int32_t>(GraphicsSetFiles.size()))
    return std::string(GraphicsSetFiles[static_cast<std::size_t>(choice - 1)]);
  WriteConsoleLine(CustomGraphicsQuestion);
  return Ask();
}

std::string ExtensionFor(const std::string &answer) {
  if (answer.empty()) return {};
  switch (answer.front()) {
  case 'b':
  case 'B':
    return "bmp";
  case 'g':
  case 'G':
    return "gif";
  case 'p':
  case 'P':
    return "png";
  default:
    return {};
  }
}

} // namespace

void RunDialog() {
  WriteConsoleLine(InputQuestion);
  InputFileName = Ask();
  if (!OpenTextLines(InputFile, InputFileName)) ReportError(Error::InputFileNotFound);

  for (std::string_view line : GraphicsMenu) WriteConsoleLine(line);
  GraphicsFileName = GraphicsFileFor(Ask());
  if (!OpenTextLines(GraphicsFile, GraphicsFileName)) ReportError(Error::GraphicsFileNotFound);

  WriteConsoleLine(ExtensionQuestion);
  WriteConsoleLine(ExtensionChoices);
  PictureExtension = ExtensionFor(Ask());
  if (PictureExtension.empty()) ReportError(Error::UnexpectedKeyboardInput);

  WriteConsoleLine(SeparatorLine);
}
