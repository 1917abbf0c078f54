// The run from start to exit: banner, dialog, conversion and summary.
#include "driver/run_sequence.h"

#include "bdcff/cave_attributes.h"
#include "bdcff/document_walker.h"
#include "bdcff/game_header.h"
#include "cave/cave_grid.h"
#include "cave/functions_random_gen.h"
#include "driver/console_dialog.h"
#include "driver/reports.h"
#include "html/html_document.h"
#include "picture/graphics_file.h"

#include <array>
#include <cstdio>
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

void ResetProcessState() {
  CloseTextLines(InputFile);
  CloseTextLines(GraphicsFile);
  PictureExtension.clear();
  TileSet = {};
  GameRecord = {};
  CaveRecord = {};
  CaveCount = 0;
  CaveGrid = {};
  RandSeed1 = 0;
  RandSeed2 = 0;
  HtmlTemplate = {};
  if (HtmlFile != nullptr) std::fclose(HtmlFile);
  HtmlFile = nullptr;
}
