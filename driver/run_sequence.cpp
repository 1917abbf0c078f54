// The run from start to exit: banner, dialog, conversion and summary.
#include "driver/run_sequence.h"

#include "bdcff/document_walker.h"
#include "driver/console_dialog.h"
#include "driver/reports.h"
#include "picture/graphics_file.h"

#include <array>
#include <string>

namespace {

constexpr std::array<std::string_view, 9> BannerLines = {
    "***********************************************",
    "*                                             *",
    "*                 Grottoprint                 *",
    "*                    v 1.0                    *",
    "*                                             *",
    "*                  June 2006                  *",
    "*                                             *",
    "***********************************************",
    "",
};

constexpr std::string_view CavesConverted = " caves converted. BMP pics created.";
constexpr std::string_view HtmlWritten = "HTML document written.";

} // namespace

void PrintBanner() {
  for (std::string_view line : BannerLines) WriteConsoleLine(line);
}

void PrintSummary() {
  WriteConsoleLine(SeparatorLine);
  WriteConsoleLine(std::to_string(CaveCount) + std::string(CavesConverted));
  WriteConsoleLine(HtmlWritten);
  WriteConsoleLine(PressEnterText);
  WaitForEnter();
}

int RunGrottoprint() {
  PrintBanner();
  RunDialog();
  ReadGraphicsFile();
  WalkDocument();
  PrintSummary();
  return 0;
}
